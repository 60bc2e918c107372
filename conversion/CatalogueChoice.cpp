#include "CatalogueChoice.h"

#include "Formats.h"

#include <QFileInfo>

#include <algorithm>

namespace conversion {

using catalogue::PresetKind;

CatalogueChoice::CatalogueChoice() : current_(*defaultChoice(0, 0)) {}

QStringList CatalogueChoice::entries(PresetKind kind) const {
    return catalogue::presetEntries(formatCode(), kind);
}

catalogue::PresetTexts CatalogueChoice::shownTexts() const {
    return *catalogue::presetTextsAt(formatCode(), current_.presets);
}

bool CatalogueChoice::presetEnabled(PresetKind kind) const {
    const auto* a = catalogue::presetAssignment(formatCode());
    if (!a || !a->videoListsDisabled)
        return true;
    const auto& video = catalogue::kVideoPresetKinds;
    return std::find(video.begin(), video.end(), kind) == video.end();
}

QString CatalogueChoice::formatExtension() const {
    const auto* f = catalogue::formatAt(current_.format.category, current_.format.format);
    return catalogue::FormatExtension(QString::fromUtf8(f->title));
}

catalogue::Profile CatalogueChoice::profile() const {
    return *profileForChoice(current_);
}

void CatalogueChoice::writeSelectedRow(RowColumns* row) const {
    if (!row)
        return;
    applyChoiceToRow(current_, *row);
    (*row)[SubItem::OutputFile] = withExtension((*row)[SubItem::OutputFile], formatExtension());
}

bool CatalogueChoice::chooseCategory(int categoryPosition, RowColumns* selectedRow) {
    const auto choice = defaultChoice(categoryPosition, 0);
    if (!choice)
        return false;
    current_ = *choice;
    writeSelectedRow(selectedRow);
    return true;
}

bool CatalogueChoice::chooseFormat(int formatPosition, RowColumns* selectedRow) {
    const auto choice = defaultChoice(current_.format.category, formatPosition);
    if (!choice)
        return false;
    current_ = *choice;
    writeSelectedRow(selectedRow);
    return true;
}

bool CatalogueChoice::choosePreset(PresetKind kind, int position, RowColumns* selectedRow) {
    RowChoice next = current_;
    next.presets[static_cast<std::size_t>(catalogue::index(kind))] = position;
    if (!catalogue::presetTextsAt(next.formatCode(), next.presets))
        return false;
    current_ = next;
    if (selectedRow)
        applyChoiceToRow(current_, *selectedRow);
    return true;
}

bool CatalogueChoice::restore(RowColumns& row) {
    const auto stored = readRowChoice(row);
    if (!stored)
        return false;
    current_ = *stored;
    writeSelectedRow(&row);
    return true;
}

CatalogueChoice::NewFile CatalogueChoice::prepareNewFile(OutputNameRequest naming) const {
    NewFile f;
    f.profile = *profileForChoice(current_, &naming.extension);
    f.outputPath = outputPathForNewFile(naming);
    f.profile.Video_AddFileName = naming.inputPath;
    f.profile.Video_OutPutFileName = f.outputPath;
    f.row.caption = naming.inputPath;
    f.row[SubItem::OutputFile] = QFileInfo(f.outputPath).fileName();
    applyChoiceToRow(current_, f.row);
    return f;
}

} // namespace conversion

// The category, format and preset lists and the chains that run when any of them changes.
// The rules (tables, profile, mapping of shown entries) are the catalogue's; this file only
// moves them between the lists, the profile and the selected row.
#include "MainWindow.h"

#include "Glyphs.h"
#include "OfficeComboBox.h"
#include "OptionsDialog.h"

#include "Formats.h"
#include "OutputNaming.h"
#include "PresetChoice.h"
#include "RowSettings.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QTreeWidget>

using catalogue::PresetKind;
using S = conversion::SubItem;

int TForm1::currentFormatCode() const {
    return catalogue::formatCode(bsSkinOfficeComboBox2->currentIndex(),
                                 bsSkinOfficeComboBox1->currentIndex());
}

QComboBox* TForm1::presetCombo(PresetKind kind) const {
    switch (kind) {
    case PresetKind::FrameSize:
        return bsSkinComboBox1;
    case PresetKind::VideoBitrate:
        return bsSkinComboBox2;
    case PresetKind::FrameRate:
        return bsSkinComboBox9;
    case PresetKind::AudioBitrate:
        return bsSkinComboBox3;
    case PresetKind::SampleRate:
        return bsSkinComboBox10;
    case PresetKind::Aspect:
        return bsSkinComboBox4;
    }
    return nullptr;
}

catalogue::PresetPositions TForm1::currentPresetPositions() const {
    catalogue::PresetPositions p{};
    for (PresetKind k : catalogue::kPresetFillOrder)
        p[static_cast<std::size_t>(catalogue::index(k))] = presetCombo(k)->currentIndex();
    return p;
}

void TForm1::selectCategory(int position) {
    {
        const QSignalBlocker block(bsSkinOfficeComboBox2);
        bsSkinOfficeComboBox2->setCurrentIndex(position);
    }
    bsSkinOfficeComboBox2Change();
}

void TForm1::selectFormat(int position) {
    {
        const QSignalBlocker block(bsSkinOfficeComboBox1);
        bsSkinOfficeComboBox1->setCurrentIndex(position);
    }
    bsSkinOfficeComboBox1Change();
}

void TForm1::selectPreset(PresetKind kind, int position) {
    QComboBox* combo = presetCombo(kind);
    {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(position);
    }
    const QString text = combo->currentText();
    QString& shown = shownTexts_[static_cast<std::size_t>(catalogue::index(kind))];
    if (text == shown)
        return;
    shown = text;
    presetChanged(kind);
}

void TForm1::bsSkinOfficeComboBox2Change() {
    Button2Click();
}

void TForm1::Button2Click() {
    {
        const QSignalBlocker block(bsSkinOfficeComboBox1);
        bsSkinOfficeComboBox1->clear();
        bsSkinOfficeComboBox1->update();
        const auto formats = catalogue::formatsOfCategory(bsSkinOfficeComboBox2->currentIndex());
        int position = 0;
        for (const auto& f : formats) {
            bsSkinOfficeComboBox1->addOfficeItem(QString::fromUtf8(f.title),
                                                 QString::fromUtf8(f.caption),
                                                 glyphs::formatImage(position % 2));
            ++position;
        }
    }
    selectFormat(0);
}

void TForm1::bsSkinOfficeComboBox1Change() {
    Button18Click();
    const QString ext = catalogue::FormatExtension(
        bsSkinOfficeComboBox1->title(bsSkinOfficeComboBox1->currentIndex()));
    QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    Button5Click();
    Button13Click();
    // The row now converts with what the lists show: its format, the six shown entries and
    // everything that follows from them.
    conversion::RowColumns columns = rowColumns(row);
    const conversion::RowChoice choice{
        {bsSkinOfficeComboBox2->currentIndex(), bsSkinOfficeComboBox1->currentIndex()},
        currentPresetPositions()};
    conversion::applyChoiceToRow(choice, columns);
    columns[S::OutputFile] = conversion::withExtension(columns[S::OutputFile], ext);
    storeRowColumns(row, columns);
    lvFiles->setFocus();
}

void TForm1::Button18Click() {
    const auto plan = catalogue::planPresetFill(currentFormatCode(), shownTexts_);
    for (PresetKind k : catalogue::kPresetFillOrder) {
        const QSignalBlocker block(presetCombo(k));
        presetCombo(k)->clear();
    }
    // A fill enables the six lists, but never while a conversion keeps the settings locked.
    const bool settingsOn = appstate::at(groups_, appstate::Group::Settings).tool;
    for (PresetKind k : catalogue::kPresetFillOrder)
        presetCombo(k)->setEnabled(settingsOn);
    if (!plan)
        return;
    for (const auto& sel : plan->selections) {
        QComboBox* combo = presetCombo(sel.kind);
        {
            const QSignalBlocker block(combo);
            combo->addItems(sel.entries);
        }
        selectPreset(sel.kind, sel.position);
    }
    for (PresetKind k : plan->disabled)
        presetCombo(k)->setEnabled(false);
}

void TForm1::Button6Click() {
    profile.reset();
}

void TForm1::Button5Click() {
    buildProfile(true);
}

void TForm1::buildProfile(bool rewriteSelectedRow) {
    const auto ext = catalogue::buildProfile(profile, currentFormatCode());
    if (ext) {
        conversion::OutputNameRequest request;
        request.folder = Video_OutPut_Folder_Edit->text();
        request.inputPath = profile.Video_AddFileName;
        request.extension = *ext;
        request.overwrite = optionOverwrite();
        request.inputsToKeep.insert(profile.Video_AddFileName);
        for (int i = 0; i < lvFiles->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* r = lvFiles->topLevelItem(i);
            request.takenFileNames.insert(sub(r, S::OutputFile));
            request.inputsToKeep.insert(r->text(0));
        }
        profile.Video_OutPutFileName = conversion::outputPathForNewFile(request);
    }
    if (!rewriteSelectedRow)
        return;
    if (QTreeWidgetItem* row = selectedRow()) {
        conversion::RowColumns columns = rowColumns(row);
        conversion::writeProfileColumns(profile, columns);
        storeRowColumns(row, columns);
    }
}

void TForm1::Button13Click() {
    catalogue::PresetTexts shown;
    for (PresetKind k : catalogue::kPresetFillOrder)
        shown[static_cast<std::size_t>(catalogue::index(k))] = presetCombo(k)->currentText();
    catalogue::applyPresetTexts(profile, shown);
}

void TForm1::presetChanged(PresetKind kind) {
    QTreeWidgetItem* row = selectedRow();
    if (!row)
        return;
    conversion::RowColumns columns = rowColumns(row);
    const QComboBox* combo = presetCombo(kind);
    conversion::setRowPreset(columns, currentFormatCode(), kind, combo->currentIndex());
    catalogue::applyPresetText(profile, kind, combo->currentText());
    storeRowColumns(row, columns);
    lvFiles->setFocus();
}

void TForm1::bsSkinComboBox1Change() {
    presetChanged(PresetKind::FrameSize);
}
void TForm1::bsSkinComboBox2Change() {
    presetChanged(PresetKind::VideoBitrate);
}
void TForm1::bsSkinComboBox3Change() {
    presetChanged(PresetKind::AudioBitrate);
}
void TForm1::bsSkinComboBox4Change() {
    presetChanged(PresetKind::Aspect);
}
void TForm1::bsSkinComboBox9Change() {
    presetChanged(PresetKind::FrameRate);
}
void TForm1::bsSkinComboBox10Change() {
    presetChanged(PresetKind::SampleRate);
}

bool TForm1::restoreRowChoices(QTreeWidgetItem* row) {
    // All seven numbers are read before anything is selected; a row that holds no readable
    // choice restores nothing.
    const auto choice = conversion::readRowChoice(rowColumns(row));
    if (!choice)
        return false;
    selectCategory(choice->format.category);
    selectFormat(choice->format.format);
    static constexpr PresetKind kRestoreOrder[] = {
        PresetKind::FrameSize, PresetKind::VideoBitrate, PresetKind::AudioBitrate,
        PresetKind::Aspect,    PresetKind::FrameRate,    PresetKind::SampleRate};
    for (PresetKind k : kRestoreOrder)
        selectPreset(k, choice->presets[static_cast<std::size_t>(catalogue::index(k))]);
    // Entries that read the same at two positions select no handler; the row keeps its own
    // positions and the settings that follow from them all the same.
    conversion::RowColumns columns = rowColumns(row);
    conversion::applyChoiceToRow(*choice, columns);
    storeRowColumns(row, columns);
    Button13Click();
    return true;
}

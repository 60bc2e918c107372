#include "RowSettings.h"

#include "Formats.h"

namespace conversion {

using catalogue::PresetKind;

SubItem presetColumn(PresetKind kind) {
    switch (kind) {
    case PresetKind::FrameSize:
        return SubItem::FrameSize;
    case PresetKind::VideoBitrate:
        return SubItem::VideoBitrate;
    case PresetKind::FrameRate:
        return SubItem::FrameRate;
    case PresetKind::AudioBitrate:
        return SubItem::AudioBitrate;
    case PresetKind::SampleRate:
        return SubItem::SampleRate;
    case PresetKind::Aspect:
        return SubItem::Aspect;
    }
    return SubItem::FrameSize;
}

void writeProfileColumns(const catalogue::Profile& p, RowColumns& row) {
    row[SubItem::VideoCodec] = p.Video_VideoCodec;
    row[SubItem::AudioCodec] = p.Video_AudioCodec;
    row[SubItem::AudioChannels] = p.Video_AudioChannels;
    row[SubItem::VideoTag] = p.Video_VideoTag;
    row[SubItem::FileExt] = p.Video_FileExt;
    row[SubItem::FrameSize] = p.Video_FrameSize;
    row[SubItem::VideoBitrate] = QString::number(p.Video_VideoBitrate);
    row[SubItem::FrameRate] = p.Video_FrameRate;
    row[SubItem::AudioBitrate] = QString::number(p.Video_AudioBitrate);
    row[SubItem::SampleRate] = p.Video_AudioSampleRate;
    row[SubItem::Aspect] = p.Video_FrameAspectRatio;
    row[SubItem::DisableVideo] =
        p.Video_DisableVideo ? QStringLiteral("True") : QStringLiteral("False");
    row[SubItem::TargetType] = p.Video_TargetType;
    row[SubItem::NormType] = p.Video_NormType;
}

int RowChoice::formatCode() const {
    return catalogue::formatCode(format.category, format.format);
}

std::optional<RowChoice> defaultChoice(int categoryPosition, int formatPosition) {
    const int code = catalogue::formatCode(categoryPosition, formatPosition);
    const auto defaults = catalogue::defaultPresetPositions(code);
    if (!defaults)
        return std::nullopt;
    return RowChoice{{categoryPosition, formatPosition}, *defaults};
}

std::optional<RowChoice> readRowChoice(const RowColumns& row) {
    const auto format = catalogue::decodeRowFormatKey(row[SubItem::FormatKey]);
    const auto presets = catalogue::decodePresetPositions(row[SubItem::PresetPositions]);
    if (!format || !presets)
        return std::nullopt;
    const RowChoice choice{*format, *presets};
    if (!catalogue::presetTextsAt(choice.formatCode(), choice.presets))
        return std::nullopt;
    return choice;
}

std::optional<catalogue::Profile> profileForChoice(const RowChoice& choice, QString* outputExt) {
    const int code = choice.formatCode();
    const auto shown = catalogue::presetTextsAt(code, choice.presets);
    if (!shown)
        return std::nullopt;
    catalogue::Profile p;
    const auto ext = catalogue::buildProfile(p, code);
    if (!ext || !catalogue::applyPresetTexts(p, *shown))
        return std::nullopt;
    if (outputExt)
        *outputExt = *ext;
    return p;
}

bool applyChoiceToRow(const RowChoice& choice, RowColumns& row) {
    const auto p = profileForChoice(choice);
    if (!p)
        return false;
    row[SubItem::FormatKey] =
        QString::number(catalogue::rowFormatKey(choice.format.category, choice.format.format));
    row[SubItem::PresetPositions] = catalogue::encodePresetPositions(choice.presets);
    writeProfileColumns(*p, row);
    return true;
}

bool setRowPreset(RowColumns& row, int code, PresetKind kind, int position) {
    const QStringList entries = catalogue::presetEntries(code, kind);
    if (position < 0 || position >= entries.size())
        return false;
    catalogue::Profile p;
    if (!catalogue::applyPresetText(p, kind, entries[position]))
        return false;
    row[SubItem::PresetPositions] =
        catalogue::replacePresetPosition(row[SubItem::PresetPositions], kind, position);
    row[presetColumn(kind)] = catalogue::presetFieldText(p, kind);
    return true;
}

} // namespace conversion

#pragma once
// The six preset drop-downs: their lists, which list and default entry each format gets, and
// the plan of filling them when the format changes. No widgets: the window shows what these
// functions give it.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>

namespace catalogue {

// The six drop-downs, in the order the lists are filled.
enum class PresetKind { FrameSize, VideoBitrate, FrameRate, AudioBitrate, SampleRate, Aspect };
inline constexpr int kPresetKindCount = 6;
inline constexpr std::array<PresetKind, kPresetKindCount> kPresetFillOrder{
    PresetKind::FrameSize,    PresetKind::VideoBitrate, PresetKind::FrameRate,
    PresetKind::AudioBitrate, PresetKind::SampleRate,   PresetKind::Aspect};

constexpr int index(PresetKind k) {
    return static_cast<int>(k);
}

// Indexed by PresetKind.
using PresetPositions = std::array<int, kPresetKindCount>;
using PresetTexts = std::array<QString, kPresetKindCount>;

// The label beside a drop-down, e.g. "视频分辨率：".
QString presetLabel(PresetKind kind);

struct PresetListRef {
    std::span<const char* const> entries; // UTF-8, in list order
    int defaultPosition;
};

struct PresetAssignment {
    int code;
    std::array<PresetListRef, kPresetKindCount> lists; // indexed by PresetKind
    bool videoListsDisabled; // formats without video: four drop-downs greyed after filling
};

const PresetAssignment* presetAssignment(int code); // nullptr for a code that is not live

// The entries of one drop-down for a format; empty for a code that is not live.
QStringList presetEntries(int code, PresetKind kind);
// The first position of `text` in that list, or -1.
int findPresetEntry(int code, PresetKind kind, const QString& text);
// The default positions of a format; nothing for a code that is not live.
std::optional<PresetPositions> defaultPresetPositions(int code);
// The entries shown at `positions`; nothing when a position lies outside its list.
std::optional<PresetTexts> presetTextsAt(int code, const PresetPositions& positions);
// The drop-downs that stay disabled after filling, in the order they are disabled.
inline constexpr std::array<PresetKind, 4> kVideoPresetKinds{
    PresetKind::FrameSize, PresetKind::VideoBitrate, PresetKind::Aspect, PresetKind::FrameRate};

// Filling the drop-downs for a new format (Button18Click). Emptying a drop-down does not
// change the text it shows, so a drop-down's change handler runs only when the default entry
// differs from the text shown before the fill.
struct PresetSelection {
    PresetKind kind;
    QStringList entries;
    int position;
    QString text;
    bool textChanged; // run the drop-down's change handler after selecting
};
struct PresetFillPlan {
    // The window first enables all six, then fills and selects in this order, then disables
    // `disabled` in its order.
    std::array<PresetSelection, kPresetKindCount> selections;
    std::span<const PresetKind> disabled;
};
// Nothing for a code that is not live.
std::optional<PresetFillPlan> planPresetFill(int code, const PresetTexts& shownBefore);

} // namespace catalogue

#pragma once
// How the entries shown in the six preset drop-downs become profile fields, and how a row
// keeps its choice of format and entries as text.

#include "Presets.h"
#include "Profile.h"

#include <QString>

#include <optional>

namespace catalogue {

// "816 kbps" -> 816000, "7.4 kbps" -> 7400, "4.75 kbps" -> 4750. Read as decimal text, so no
// rounding creeps in. Nothing when the number is not a whole number of bits per second.
std::optional<int32_t> kbpsToBitsPerSecond(const QString& text);

// Sets the profile field that `kind` feeds from a shown entry (the drop-down's change handler,
// step 4). False, and the field unchanged, for a bit-rate text that is not a rate.
bool applyPresetText(Profile& profile, PresetKind kind, const QString& shownText);

// Button13Click: all six shown entries into the profile, in the order frame size, frame rate,
// video bit rate, sample rate, audio bit rate, aspect. False when a bit-rate text is not a
// rate (the other fields are still applied).
bool applyPresetTexts(Profile& profile, const PresetTexts& shown);

// The profile field `kind` feeds, as the text the row's preset column holds (bit rates in
// decimal).
QString presetFieldText(const Profile& profile, PresetKind kind);

// The six preset column texts that a row of format `code` with stored `positions` converts
// with: the entries at those positions run through the mapping rules. Nothing when the code
// is not live or a position lies outside its list.
std::optional<PresetTexts> presetColumnTexts(int code, const PresetPositions& positions);

// "视频选项": two characters per drop-down in the order frame size, video bit rate, audio bit
// rate, aspect, frame rate, sample rate. A position below 10 gets a leading "0"; -1 (nothing
// chosen) is written "0-1" and makes the text unreadable on purpose.
QString encodePresetPositions(const PresetPositions& positions);
// Exactly 12 ASCII digits, else nothing.
std::optional<PresetPositions> decodePresetPositions(const QString& text);
// A change handler's step 3: replaces the two characters of `kind` and keeps the others.
QString replacePresetPosition(const QString& text, PresetKind kind, int position);
// Where `kind`'s two characters start in "视频选项" (0-based).
int presetPositionOffset(PresetKind kind);

// "视频类别" v: category list position v/100 - 1 and format position v - 100*(v/100).
struct FormatPositions {
    int category;
    int format;
    friend bool operator==(const FormatPositions&, const FormatPositions&) = default;
};
// Nothing unless the text is a decimal number naming a format of the catalogue.
std::optional<FormatPositions> decodeRowFormatKey(const QString& text);
// The list positions that select format `code`; nothing for a code that is not live.
std::optional<FormatPositions> positionsOfFormat(int code);

} // namespace catalogue

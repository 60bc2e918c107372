#pragma once
// A row's conversion settings as the catalogue gives them: its format (row format key), its
// six preset positions, and the hidden columns that follow from those two.
//
// One rule keeps the list honest: a row's hidden columns are always what its format and its
// stored positions give, so the six entries the drop-downs show for the selected row are the
// ones it converts with, and nothing but that row's own choice ever rewrites it.

#include "RowColumns.h"

#include "PresetChoice.h"
#include "Presets.h"
#include "Profile.h"

#include <optional>

namespace conversion {

// Format-change step 6: the profile's fields into sub-items 10-23, all as text ("视频能否"
// "True"/"False", bit rates in decimal). Touches neither the output name, nor "视频类别", nor
// "视频选项".
void writeProfileColumns(const catalogue::Profile& profile, RowColumns& row);

// The choice a row keeps: its format and the six positions of its preset entries.
struct RowChoice {
    catalogue::FormatPositions format; // category and format list positions
    catalogue::PresetPositions presets;

    int formatCode() const;
    friend bool operator==(const RowChoice&, const RowChoice&) = default;
};

// The choice of a format with its default entries; nothing for positions that name no format.
std::optional<RowChoice> defaultChoice(int categoryPosition, int formatPosition);

// Reads "视频类别" and "视频选项" together. Nothing, and nothing to select, when either is not
// made of numbers, the key names no format, or a position lies outside its format's list.
std::optional<RowChoice> readRowChoice(const RowColumns& row);

// The profile a choice converts with: the format's profile row, then the six entries at the
// stored positions through the mapping rules. `outputExt` receives the naming extension.
std::optional<catalogue::Profile> profileForChoice(const RowChoice& choice,
                                                   QString* outputExt = nullptr);

// Writes everything that follows from `choice` into the row: "视频类别", "视频选项" and the
// hidden profile and preset columns 10-23. The caption, the visible texts and the output name
// stay. False, and the row unchanged, for a choice that names no format or lies outside the
// lists.
bool applyChoiceToRow(const RowChoice& choice, RowColumns& row);

// A preset drop-down's change for the selected row: the position in "视频选项" and the
// matching preset column from the entry at `position` of `kind`'s list of format `code`.
// False, and the row unchanged, when the position lies outside that list.
bool setRowPreset(RowColumns& row, int code, catalogue::PresetKind kind, int position);

// The sub-item that keeps the profile field `kind` feeds.
SubItem presetColumn(catalogue::PresetKind kind);

} // namespace conversion

#pragma once
// How a conversion's settings reach the engine's output record: from the profile when a file
// is added, and from the row's hidden columns when Start rebuilds the tasks.

#include "RowColumns.h"

#include "EngineTypes.h"
#include "Profile.h"

namespace conversion {

// The add path: writes the profile's fields into `record`, which holds the engine's defaults
// (or whatever the caller put there); a field whose profile value is empty, "AUTO" or -1000
// keeps its value.
void applyProfile(const catalogue::Profile& profile, engine::TOutputOptions& record);

// The Start path: writes the row's sub-items 10-23 into `record`, which holds the record kept
// since the row was added. A column that is empty, "AUTO", "-1000" or not a number where a
// number is wanted leaves its field alone.
void applyRowColumns(const RowColumns& row, engine::TOutputOptions& record);

// The disc target and television norm names of the profile.
engine::TOptionTargetType targetTypeOf(const QString& text); // "vcd", "svcd", "dvd", else ttIgnore
engine::TOptionNormType normTypeOf(const QString& text);     // "PAL", "NTSC", else ntAuto

} // namespace conversion

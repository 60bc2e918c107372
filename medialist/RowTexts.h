#pragma once
// Texts of the file list: durations, sizes and the open dialogs' filters.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

namespace medialist {

// Whole seconds as "hh:mm:ss"; a day or more wraps (25 hours read 01:00:00).
QString SecToDate(int64_t seconds);

// The "视频时间" text of a duration in microseconds: "N/A" unless positive.
QString durationText(int64_t microseconds);

// Bytes in MB to hundredths (a tie goes to the even neighbour), shortest form, then "MB":
// 13,107,200 bytes read "12.5MB", 3,145,728 read "3MB".
QString sizeText(int64_t bytes);

struct FilterEntry {
    const char* description; // UTF-8
    const char* patterns;    // ";"-separated
};

// The 42 filters of both open dialogs, the first selected when a dialog opens.
std::span<const FilterEntry> openDialogFilters();
// The filters as one "description|patterns|" string, entry after entry.
QString openDialogFilterString();
// The same filters as Qt name filters ("description (p1 p2)").
QStringList openDialogNameFilters();

// Every entry of `folder` matching `mask` that is not a directory, hidden and system entries
// included, sub-folders not searched; nothing when the folder does not exist.
QStringList GetFilenames(const QString& folder, const QString& mask);

} // namespace medialist

#pragma once
// The catalogue of output targets: seven categories, each with its list of formats.
// A format is identified by its format code (category code * 100 + position in its list);
// every other table of the catalogue is keyed by that code.

#include <QString>

#include <span>
#include <vector>

namespace catalogue {

struct FormatEntry {
    int code;
    const char* title;   // UTF-8; ends with the extension in brackets, e.g. "(*.mp4)"
    const char* caption; // UTF-8; the one-line description under the title
};

struct CategoryEntry {
    const char* caption; // UTF-8
    int imageIndex;      // index into the category image list
    int code;            // category code (not the list position)
    std::span<const FormatEntry> formats;
};

// The category list, in list order (position 0 is "Flash视频").
std::span<const CategoryEntry> categories();
const CategoryEntry* categoryAt(int position); // nullptr when out of range
int categoryCode(int position);                // -1 when out of range

std::span<const FormatEntry> formatsOfCategory(int categoryPosition);
const FormatEntry* formatAt(int categoryPosition, int formatPosition);

// Category code * 100 + format position; -1 when either position is out of range.
int formatCode(int categoryPosition, int formatPosition);
// (category list position + 1) * 100 + format position: what a row keeps to restore its choice.
int rowFormatKey(int categoryPosition, int formatPosition);

const FormatEntry* findFormat(int code); // nullptr for a code that is not live
std::vector<int> allFormatCodes();       // the 71 live codes, in list order
bool isAudioOnlyFormat(int code);

// The output extension (with its dot) of a format title: the four characters that end one
// before the last, with the fixed endings "lac)", "flac", "aiff", "mpeg", "*.rm", "*.ra" mapped.
QString FormatExtension(const QString& title);

} // namespace catalogue

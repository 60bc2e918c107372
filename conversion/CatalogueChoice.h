#pragma once
// The catalogue choice the main window shows: category, format and the six preset entries.
// The window keeps one of these, calls it from its handlers and mirrors it into its lists;
// the rows follow from it here, so the entries shown for the selected row are always the ones
// that row converts with, and only the selected row's own choice ever rewrites it.
//
// Lives on the user-interface thread with the window; plain value otherwise.

#include "OutputNaming.h"
#include "RowColumns.h"
#include "RowSettings.h"

#include "Presets.h"
#include "Profile.h"

namespace conversion {

class CatalogueChoice {
public:
    CatalogueChoice(); // "Flash视频", its first format 1100, that format's default entries

    const RowChoice& current() const { return current_; }
    int formatCode() const { return current_.formatCode(); }
    // The entries of one drop-down for the current format, and the shown ones.
    QStringList entries(catalogue::PresetKind kind) const;
    catalogue::PresetTexts shownTexts() const;
    // False for the four video drop-downs of a format without video.
    bool presetEnabled(catalogue::PresetKind kind) const;
    // The extension in the current format's title (what a row's output name takes).
    QString formatExtension() const;
    // The profile the current choice converts with (table row, then the shown entries).
    catalogue::Profile profile() const;

    // Category changed: its first format with that format's defaults. With a row selected,
    // the row takes the new choice and its output name the format's extension. False, and
    // nothing changed, for a position that is not a category.
    bool chooseCategory(int categoryPosition, RowColumns* selectedRow);
    // Format changed within the current category; as chooseCategory.
    bool chooseFormat(int formatPosition, RowColumns* selectedRow);
    // A preset drop-down changed. With a row selected, the row's position and column follow.
    // False, and nothing changed, for a position outside the list.
    bool choosePreset(catalogue::PresetKind kind, int position, RowColumns* selectedRow);

    // A row became selected: show its stored choice. The row's settings are written again
    // from that choice (a no-op for a row written here) and its output name takes the
    // format's extension. False, and neither the choice nor the row changed, when the row's
    // "视频类别" or "视频选项" is unreadable or lies outside the lists.
    bool restore(RowColumns& row);

    // Adding a file: the profile for the current choice, the numbered output path, and the
    // new row's caption, "输出文件", "视频类别", "视频选项" and settings columns. Touches no
    // existing row. `naming.extension` is filled in here.
    struct NewFile {
        catalogue::Profile profile; // Video_AddFileName and Video_OutPutFileName set
        QString outputPath;
        RowColumns row; // the window adds duration, size and task number
    };
    NewFile prepareNewFile(OutputNameRequest naming) const;

private:
    void writeSelectedRow(RowColumns* row) const;

    RowChoice current_;
};

} // namespace conversion

#pragma once
// What each key of "option.ini" means, its default, and the rule by which it is read and
// written. The window, the Options dialog and the snapshot commands call these; none of them
// keeps a copy of a value (the controls are the live state, the file the stored one).
//
// Readers never throw. When a reader writes a default back and that write fails, the reader
// still returns the value it chose and puts the error text ("Unable to write to <path>") in
// writeError, for the caller to show. Writers throw SettingsWriteError.

#include "SettingsFile.h"

#include <QLatin1String>
#include <QString>

namespace settings {

namespace keys {
inline constexpr QLatin1String OptionsSection("Options");
inline constexpr QLatin1String ThreadCount("Thread_Count");
inline constexpr QLatin1String AfterDone("After_Done");
inline constexpr QLatin1String ShowPreview("Show_Preview");
inline constexpr QLatin1String ThreadPriority("Thread_Priority");
inline constexpr QLatin1String OverwriteFile("Overwrite_File");
inline constexpr QLatin1String OutPathSection("OutPath"); // section and key share the name
inline constexpr QLatin1String OutPath("OutPath");
inline constexpr QLatin1String SkinSection("Skin");
inline constexpr QLatin1String SetSkin("SetSkin");
inline constexpr QLatin1String SnapShotSection("SnapShot");
inline constexpr QLatin1String Dir("Dir");
inline constexpr QLatin1String Picture("Picture");
} // namespace keys

template <typename T> struct Loaded {
    T value{};
    QString writeError; // empty unless writing the default back failed
};

// The default folders, with native separators: "C:\晨帆视频软件\输出" / "…\快照" on Windows,
// the same two folders under the user's home folder elsewhere.
QString DefaultOutputFolder();
QString DefaultSnapshotFolder();

// ---- Output folder (section OutPath) ----

// The folder for the output-folder box and the window's output folder. A stored folder is
// created with its missing parents and used as it stands, never written back; without one the
// default is created, written back and used. Anything that goes wrong falls back to the
// default the same way. Folder creation that fails is silent: the folder is used anyway.
Loaded<QString> LoadOutputFolder(const SettingsFile& file);
// Stores the folder only when it exists now; returns whether it was stored.
bool SaveOutputFolder(const SettingsFile& file, const QString& folder);

// ---- Skin (section Skin) ----

// The stored skin index. Missing: "0" is written back and 0 returned. A value that is not a
// decimal integer gives -1, which, like any index outside the skin list, leaves the skin in
// force; the file keeps what it holds.
Loaded<int> ReadSkinIndex(const SettingsFile& file);
void WriteSkinIndex(const SettingsFile& file, int index);

// ---- Options dialog (section Options) ----

inline constexpr int ThreadCountEntries = 19; // the list holds "1" to "19"

// Completion choices (After_Done) and priorities (Thread_Priority) by their stored numbers.
enum AfterDoneChoice { OpenOutputFolder = 0, ShutDownComputer = 1, PlaySound = 2, DoNothing = 3 };
enum PriorityChoice { IdlePriority = 0, LowestPriority = 1, LowerPriority = 2, NormalPriority = 3 };

// The dialog's controls as LoadOptions sets them, one call per key.
class OptionControls {
public:
    virtual ~OptionControls() = default;
    virtual void setThreadCount(int entry) = 0; // 1..19
    virtual void setAfterDone(int choice) = 0;  // 0..3
    virtual void setThreadPriority(int choice) = 0;
    virtual void setOverwrite(bool overwrite) = 0; // true: overwrite, false: numbered name
    virtual void setShowPreview(bool on) = 0;
};

// Reads Thread_Count, After_Done, Thread_Priority, Overwrite_File, Show_Preview in that order,
// sets each control, and writes the default back where a value is missing or unusable. When a
// write-back fails, loading stops there (later controls keep what they hold) and the error
// text is returned; otherwise the result is empty.
QString LoadOptions(const SettingsFile& file, OptionControls& controls);

struct OptionValues {
    QString threadCountText; // the list's text, "1".."19"
    int afterDone = OpenOutputFolder;
    bool showPreview = false;
    int threadPriority = NormalPriority;
    bool overwrite = false;
};
// Writes Thread_Count, After_Done, Show_Preview, Thread_Priority, Overwrite_File in that order.
// A failed write throws; the keys written before it stay written.
void SaveOptions(const SettingsFile& file, const OptionValues& values);

// ---- Snapshots (section SnapShot); read anew at every use ----

enum class PictureFormat { BMP, JPG, GIF, PNG };
QString PictureFormatName(PictureFormat format);      // "BMP", "JPG", "GIF", "PNG"
QString PictureFormatExtension(PictureFormat format); // ".bmp", ".jpg", ".gif", ".png"

// The snapshot folder: a stored folder is created with its parents and used, never written
// back; without one the default is created, written back and used.
Loaded<QString> ReadSnapshotFolder(const SettingsFile& file);
// Stores the folder only when it exists now; returns whether it was stored.
bool WriteSnapshotFolder(const SettingsFile& file, const QString& folder);

// "BMP", "JPG", "GIF" or "PNG" exactly; anything else writes "BMP" back and gives BMP.
Loaded<PictureFormat> ReadPictureFormat(const SettingsFile& file);
void WritePictureFormat(const SettingsFile& file, PictureFormat format);

} // namespace settings

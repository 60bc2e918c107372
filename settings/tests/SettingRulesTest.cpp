#include "SettingRules.h"

#include "IniFileHelpers.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

using namespace settings;

namespace {

// Every test gets its own home folder, so the default folders are made there and never in the
// real home of whoever runs the tests.
class SettingRulesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString iniPath = dir.filePath(QStringLiteral("option.ini"));
    SettingsFile file{iniPath};
    QByteArray savedHome = qgetenv("HOME");

    void SetUp() override { qputenv("HOME", dir.filePath(QStringLiteral("home")).toUtf8()); }
    void TearDown() override { qputenv("HOME", savedHome); }

    void put(const QByteArray& bytes) { putFile(iniPath, bytes); }
    QByteArray bytes() const { return fileBytes(iniPath); }
    QString home() const { return dir.filePath(QStringLiteral("home")); }
    // Every write replaces the file, so an unchanged inode shows that nothing was written.
    ino_t inode() const {
        struct stat st {};
        return ::stat(QFile::encodeName(iniPath).constData(), &st) == 0 ? st.st_ino : 0;
    }
};

// Records what LoadOptions hands to the dialog, in order.
struct RecordingControls : OptionControls {
    int threadCount = -1, afterDone = -1, priority = -1;
    std::optional<bool> overwrite, preview;
    std::vector<const char*> calls;
    void setThreadCount(int v) override { threadCount = v, calls.push_back("Thread_Count"); }
    void setAfterDone(int v) override { afterDone = v, calls.push_back("After_Done"); }
    void setThreadPriority(int v) override { priority = v, calls.push_back("Thread_Priority"); }
    void setOverwrite(bool v) override { overwrite = v, calls.push_back("Overwrite_File"); }
    void setShowPreview(bool v) override { preview = v, calls.push_back("Show_Preview"); }
};

TEST_F(SettingRulesTest, DefaultFoldersLieUnderTheHomeFolder) {
    EXPECT_EQ(DefaultOutputFolder(), home() + QStringLiteral("/晨帆视频软件/输出"));
    EXPECT_EQ(DefaultSnapshotFolder(), home() + QStringLiteral("/晨帆视频软件/快照"));
}

TEST_F(SettingRulesTest, FirstStartWithoutFileLeavesExactlyTheSevenKeysInOrder) {
    // The start-up order: the window reads the output folder, then the skin; the Options
    // dialog, created after the window, loads its five choices.
    const auto folder = LoadOutputFolder(file);
    const auto skin = ReadSkinIndex(file);
    RecordingControls controls;
    EXPECT_EQ(LoadOptions(file, controls), QString());

    EXPECT_EQ(folder.value, DefaultOutputFolder());
    EXPECT_TRUE(folder.writeError.isEmpty());
    EXPECT_TRUE(QDir(DefaultOutputFolder()).exists());
    EXPECT_EQ(skin.value, 0);
    EXPECT_EQ(bytes(), QByteArray("[OutPath]\nOutPath=") + DefaultOutputFolder().toUtf8() +
                           "\n"
                           "[Skin]\nSetSkin=0\n"
                           "[Options]\n"
                           "Thread_Count=0\nAfter_Done=0\nThread_Priority=3\n"
                           "Overwrite_File=1\nShow_Preview=0\n");

    // The dialog then shows the defaults: open the folder, rename, normal priority, one file
    // at a time, no preview; read in the order the keys are listed above.
    EXPECT_EQ(controls.threadCount, 1);
    EXPECT_EQ(controls.afterDone, OpenOutputFolder);
    EXPECT_EQ(controls.priority, NormalPriority);
    EXPECT_EQ(controls.overwrite, false);
    EXPECT_EQ(controls.preview, false);
    EXPECT_EQ(controls.calls,
              (std::vector<const char*>{"Thread_Count", "After_Done", "Thread_Priority",
                                        "Overwrite_File", "Show_Preview"}));

    // A second start finds everything and writes nothing.
    const QByteArray first = bytes();
    const ino_t before = inode();
    LoadOutputFolder(file);
    ReadSkinIndex(file);
    RecordingControls again;
    LoadOptions(file, again);
    EXPECT_EQ(bytes(), first);
    EXPECT_EQ(inode(), before);
}

struct OptionsCase {
    const char* name;
    const char* key;
    const char* stored; // nullptr: the key's line is left out
    // what the dialog is given
    int threadCount, afterDone, priority;
    bool overwrite, preview;
    const char* storedAfter; // the key's line after loading; nullptr: the file is unchanged
};

void PrintTo(const OptionsCase& c, std::ostream* os) {
    *os << c.name;
}

std::string OptionsCaseName(const ::testing::TestParamInfo<OptionsCase>& param) {
    return param.param.name;
}

class OptionsReadRules : public SettingRulesTest,
                         public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsReadRules, ChoiceAndWriteBack) {
    const OptionsCase& c = GetParam();
    // A complete file with non-default choices, then the key under test set or left out.
    const std::vector<std::pair<QByteArray, QByteArray>> full = {{"Thread_Count", "5"},
                                                                 {"After_Done", "2"},
                                                                 {"Show_Preview", "1"},
                                                                 {"Thread_Priority", "1"},
                                                                 {"Overwrite_File", "0"}};
    QByteArray content = "[Options]\n";
    QByteArray expected = content;
    for (const auto& [key, value] : full) {
        if (key != c.key) {
            content += key + '=' + value + '\n';
            expected += key + '=' + value + '\n';
        } else if (c.stored) {
            content += key + '=' + c.stored + '\n';
            expected += key + '=' + (c.storedAfter ? c.storedAfter : c.stored) + '\n';
        }
    }
    if (!c.stored) // a missing key is appended to its section
        expected += QByteArray(c.key) + '=' + c.storedAfter + '\n';
    put(content);
    const ino_t before = inode();

    RecordingControls controls;
    EXPECT_EQ(LoadOptions(file, controls), QString());
    EXPECT_EQ(controls.threadCount, c.threadCount);
    EXPECT_EQ(controls.afterDone, c.afterDone);
    EXPECT_EQ(controls.priority, c.priority);
    EXPECT_EQ(controls.overwrite, c.overwrite);
    EXPECT_EQ(controls.preview, c.preview);
    EXPECT_EQ(bytes(), expected);
    if (!c.storedAfter) {
        EXPECT_EQ(inode(), before) << "the file was rewritten";
    }
}

// Other keys keep 5 files, sound, lowest priority, overwrite, preview on.
INSTANTIATE_TEST_SUITE_P(
    Options, OptionsReadRules,
    ::testing::Values(
        OptionsCase{"ThreadCount7", "Thread_Count", "7", 7, 2, 1, true, true, nullptr},
        OptionsCase{"ThreadCount19", "Thread_Count", "19", 19, 2, 1, true, true, nullptr},
        OptionsCase{"ThreadCount25", "Thread_Count", "25", 1, 2, 1, true, true, "0"},
        OptionsCase{"ThreadCount0", "Thread_Count", "0", 1, 2, 1, true, true, nullptr},
        OptionsCase{"ThreadCount07", "Thread_Count", "07", 1, 2, 1, true, true, "0"},
        OptionsCase{"ThreadCountMissing", "Thread_Count", nullptr, 1, 2, 1, true, true, "0"},
        OptionsCase{"ThreadCountError", "Thread_Count", "Error", 1, 2, 1, true, true, "0"},
        OptionsCase{"AfterDone4", "After_Done", "4", 5, 0, 1, true, true, "0"},
        OptionsCase{"AfterDone3", "After_Done", "3", 5, 3, 1, true, true, nullptr},
        OptionsCase{"AfterDoneEmpty", "After_Done", "", 5, 0, 1, true, true, "0"},
        OptionsCase{"PriorityError", "Thread_Priority", "Error", 5, 2, 3, true, true, "3"},
        OptionsCase{"Priority0", "Thread_Priority", "0", 5, 2, 0, true, true, nullptr},
        OptionsCase{"PriorityNegative", "Thread_Priority", "-1", 5, 2, 3, true, true, "3"},
        OptionsCase{"Overwrite1", "Overwrite_File", "1", 5, 2, 1, false, true, nullptr},
        OptionsCase{"Overwrite2", "Overwrite_File", "2", 5, 2, 1, false, true, "1"},
        OptionsCase{"OverwriteMissing", "Overwrite_File", nullptr, 5, 2, 1, false, true, "1"},
        OptionsCase{"Preview0", "Show_Preview", "0", 5, 2, 1, true, false, nullptr},
        OptionsCase{"PreviewYes", "Show_Preview", "yes", 5, 2, 1, true, false, "0"},
        OptionsCase{"PreviewMissing", "Show_Preview", nullptr, 5, 2, 1, true, false, "0"}),
    OptionsCaseName);

TEST_F(SettingRulesTest, OutputFolderThatDoesNotExistIsCreatedWithItsParentsNotWrittenBack) {
    const QString stored = dir.filePath(QStringLiteral("a/b/输出 c"));
    const QByteArray content = "[OutPath]\nOutPath=" + stored.toUtf8() + "\n";
    put(content);
    const ino_t before = inode();
    const auto loaded = LoadOutputFolder(file);
    EXPECT_EQ(loaded.value, stored);
    EXPECT_TRUE(QDir(stored).exists());
    EXPECT_EQ(bytes(), content);
    EXPECT_EQ(inode(), before);
    EXPECT_FALSE(QDir(DefaultOutputFolder()).exists());
}

TEST_F(SettingRulesTest, OutputFolderMissingOrErrorTakesTheDefaultAndWritesItBack) {
    for (const QByteArray& content :
         {QByteArray("[OutPath]\nOutPath=Error\n"), QByteArray("[OutPath]\nOutPath=\n")}) {
        put(content);
        const auto loaded = LoadOutputFolder(file);
        EXPECT_EQ(loaded.value, DefaultOutputFolder());
        EXPECT_EQ(bytes(), "[OutPath]\nOutPath=" + DefaultOutputFolder().toUtf8() + "\n");
        EXPECT_TRUE(QDir(DefaultOutputFolder()).exists());
    }
}

TEST_F(SettingRulesTest, StoredFolderThatCannotBeCreatedIsStillUsed) {
    const QString blocked = dir.filePath(QStringLiteral("x")); // a file in the way
    put("[OutPath]\nOutPath=" + blocked.toUtf8() + "/sub\n[SnapShot]\nDir=" + blocked.toUtf8() +
        "/shots\n");
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(LoadOutputFolder(file).value, blocked + QStringLiteral("/sub"));
    EXPECT_EQ(ReadSnapshotFolder(file).value, blocked + QStringLiteral("/shots"));
}

TEST_F(SettingRulesTest, OutputFolderFallsBackToTheDefaultWhenTheFileCannotBeWritten) {
    const SettingsFile nowhere(dir.filePath(QStringLiteral("gone/option.ini")));
    const auto loaded = LoadOutputFolder(nowhere);
    EXPECT_EQ(loaded.value, DefaultOutputFolder());
    EXPECT_EQ(loaded.writeError, QStringLiteral("Unable to write to ") + nowhere.path());
    EXPECT_TRUE(QDir(DefaultOutputFolder()).exists());
}

TEST_F(SettingRulesTest, FoldersAreStoredOnlyWhenTheyExist) {
    const QString there = dir.filePath(QStringLiteral("there"));
    ASSERT_TRUE(QDir().mkpath(there));
    const QString absent = dir.filePath(QStringLiteral("absent"));

    EXPECT_FALSE(SaveOutputFolder(file, absent));
    EXPECT_FALSE(WriteSnapshotFolder(file, absent));
    EXPECT_EQ(bytes(), QByteArray("<no file>"));

    EXPECT_TRUE(SaveOutputFolder(file, there));
    EXPECT_TRUE(WriteSnapshotFolder(file, there));
    EXPECT_EQ(file.ReadValue(keys::OutPathSection, keys::OutPath), there);
    EXPECT_EQ(file.ReadValue(keys::SnapShotSection, keys::Dir), there);
}

TEST_F(SettingRulesTest, SkinIndexReadRule) {
    struct Case {
        const char* content;
        int index;
        const char* after; // nullptr: unchanged
    };
    const Case cases[] = {
        {"[Skin]\nSetSkin=9\n", 9, nullptr},
        {"[Skin]\nSetSkin=12\n", 12, nullptr}, // outside the list: the skin rule ignores it
        {"[Skin]\nSetSkin=abc\n", -1, nullptr},
        {"[Skin]\nSetSkin=3x\n", -1, nullptr},
        {"[Skin]\nSetSkin=99999999999\n", -1, nullptr},
        {"[Skin]\nSetSkin=Error\n", 0, "[Skin]\nSetSkin=0\n"},
        {"[Other]\n", 0, "[Other]\n[Skin]\nSetSkin=0\n"},
    };
    for (const Case& c : cases) {
        put(c.content);
        const auto read = ReadSkinIndex(file);
        EXPECT_EQ(read.value, c.index) << c.content;
        EXPECT_EQ(bytes(), QByteArray(c.after ? c.after : c.content)) << c.content;
    }
    WriteSkinIndex(file, 7);
    EXPECT_EQ(bytes(), QByteArray("[Other]\n[Skin]\nSetSkin=7\n"));
}

TEST_F(SettingRulesTest, SaveOptionsWritesTheFiveKeysInItsOrder) {
    SaveOptions(file, {QStringLiteral("19"), DoNothing, true, IdlePriority, true});
    EXPECT_EQ(bytes(), QByteArray("[Options]\nThread_Count=19\nAfter_Done=3\nShow_Preview=1\n"
                                  "Thread_Priority=0\nOverwrite_File=0\n"));
    // Stored again over a file in load order: each value is replaced where it stands.
    put("[Options]\nThread_Count=0\nAfter_Done=0\nThread_Priority=3\nOverwrite_File=1\n"
        "Show_Preview=0\n");
    SaveOptions(file, {QStringLiteral("1"), ShutDownComputer, false, LowerPriority, false});
    EXPECT_EQ(bytes(), QByteArray("[Options]\nThread_Count=1\nAfter_Done=1\nThread_Priority=2\n"
                                  "Overwrite_File=1\nShow_Preview=0\n"));
}

TEST_F(SettingRulesTest, FailedWriteBackStopsLoadingOptionsAndNamesTheFile) {
    const SettingsFile nowhere(dir.filePath(QStringLiteral("gone/option.ini")));
    RecordingControls controls;
    EXPECT_EQ(LoadOptions(nowhere, controls),
              QStringLiteral("Unable to write to ") + nowhere.path());
    EXPECT_EQ(controls.calls, std::vector<const char*>{"Thread_Count"});
    EXPECT_THROW(SaveOptions(nowhere, {}), SettingsWriteError);
}

TEST_F(SettingRulesTest, SnapshotFolderRule) {
    // Missing: the default is created (with its parent) and written back.
    auto read = ReadSnapshotFolder(file);
    EXPECT_EQ(read.value, DefaultSnapshotFolder());
    EXPECT_TRUE(QDir(DefaultSnapshotFolder()).exists());
    EXPECT_EQ(bytes(), "[SnapShot]\nDir=" + DefaultSnapshotFolder().toUtf8() + "\n");

    // Stored but absent: created with its parents, the file keeps the text.
    const QString stored = dir.filePath(QStringLiteral("p/q/快照"));
    const QByteArray content = "[SnapShot]\nDir=" + stored.toUtf8() + "\n";
    put(content);
    read = ReadSnapshotFolder(file);
    EXPECT_EQ(read.value, stored);
    EXPECT_TRUE(QDir(stored).exists());
    EXPECT_EQ(bytes(), content);
}

TEST_F(SettingRulesTest, PictureFormatRule) {
    struct Case {
        const char* stored; // nullptr: no SnapShot section
        PictureFormat format;
        bool writtenBack;
    };
    const Case cases[] = {{"BMP", PictureFormat::BMP, false}, {"JPG", PictureFormat::JPG, false},
                          {"GIF", PictureFormat::GIF, false}, {"PNG", PictureFormat::PNG, false},
                          {"bmp", PictureFormat::BMP, true},  {"png", PictureFormat::BMP, true},
                          {"TIF", PictureFormat::BMP, true},  {nullptr, PictureFormat::BMP, true}};
    for (const Case& c : cases) {
        const QByteArray content =
            c.stored ? "[SnapShot]\nPicture=" + QByteArray(c.stored) + "\n" : QByteArray("");
        put(content);
        const auto read = ReadPictureFormat(file);
        EXPECT_EQ(read.value, c.format) << (c.stored ? c.stored : "<none>");
        EXPECT_EQ(bytes(), c.writtenBack ? QByteArray("[SnapShot]\nPicture=BMP\n") : content)
            << (c.stored ? c.stored : "<none>");
    }
    WritePictureFormat(file, PictureFormat::GIF);
    EXPECT_EQ(bytes(), QByteArray("[SnapShot]\nPicture=GIF\n"));
    EXPECT_EQ(PictureFormatExtension(PictureFormat::JPG), QStringLiteral(".jpg"));
}

} // namespace

#include "OutputNaming.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace conversion;

namespace {

class OutputNaming : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const {
        return QDir::toNativeSeparators(dir.path() + QLatin1Char('/') + name);
    }
    void touch(const QString& name) const {
        QFile f(dir.path() + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    OutputNameRequest request(const QString& input, const QString& ext) const {
        OutputNameRequest r;
        r.folder = dir.path();
        r.inputPath = input;
        r.extension = ext;
        return r;
    }

    QTemporaryDir dir;
};

} // namespace

TEST(OutputNameParts, ExtensionIsReplacedOrAppended) {
    struct Case {
        const char* name;
        const char* ext;
        const char* result;
    } cases[] = {
        {"clip_1.mp4", ".flac", "clip_1.flac"}, {"clip", ".mp4", "clip.mp4"},
        {"a.b.c", ".flv", "a.b.flv"},           {".hidden", ".mp4", ".hidden.mp4"},
        {"movie.mkv", ".avi", "movie.avi"},     {"clip.", ".ra", "clip.ra"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withExtension(c.name, c.ext), c.result) << c.name;
}

TEST(OutputNameParts, FolderSeparatorAndInputName) {
    const QString sep = QDir::separator();
    EXPECT_EQ(rawOutputPath("/out", "/in/v/movie.mkv", ".avi"),
              QDir::toNativeSeparators("/out") + sep + "movie.avi");
    EXPECT_EQ(rawOutputPath("/out/", "/in/clip", ".mp4"),
              QDir::toNativeSeparators("/out/") + "clip.mp4");
    EXPECT_EQ(rawOutputPath("/out", "D:\\v\\clip.avi", ".flv"),
              QDir::toNativeSeparators("/out") + sep + "clip.flv");
}

TEST_F(OutputNaming, FreeNameIsTakenAsItIs) {
    EXPECT_EQ(outputPathForNewFile(request("/in/movie.mkv", ".avi")), path("movie.avi"));
}

TEST_F(OutputNaming, ExistingFilesGetNumberedNamesUnlessOverwriting) {
    touch("clip.mp4");
    auto r = request("/in/clip.avi", ".mp4");
    EXPECT_EQ(outputPathForNewFile(r), path("clip_1.mp4"));
    touch("clip_1.mp4");
    EXPECT_EQ(outputPathForNewFile(r), path("clip_2.mp4"));
    touch("clip_3.mp4"); // a gap further on does not matter: the first free number wins
    EXPECT_EQ(outputPathForNewFile(r), path("clip_2.mp4"));

    r.overwrite = true;
    EXPECT_EQ(outputPathForNewFile(r), path("clip.mp4"));
}

TEST_F(OutputNaming, AFolderOfThatNameIsTakenToo) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("clip.mp4"));
    EXPECT_EQ(outputPathForNewFile(request("/in/clip.avi", ".mp4")), path("clip_1.mp4"));
}

TEST_F(OutputNaming, NamesOfOtherRowsCountOnlyWhenRenaming) {
    auto r = request("/in/clip.avi", ".mp4");
    r.takenFileNames = {"clip.mp4", "clip_1.mp4"};
    EXPECT_EQ(outputPathForNewFile(r), path("clip_2.mp4"));
    r.overwrite = true;
    EXPECT_EQ(outputPathForNewFile(r), path("clip.mp4"));
}

TEST_F(OutputNaming, InputIsNeverItsOwnOutputEvenWhenOverwriting) {
    touch("clip.mp4");
    auto r = request(dir.path() + "/clip.mp4", ".mp4");
    r.overwrite = true;
    EXPECT_EQ(outputPathForNewFile(r), path("clip_1.mp4"));

    // Another spelling of the same file is the same file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    r.inputPath = dir.path() + "/sub/../clip.mp4";
    EXPECT_EQ(outputPathForNewFile(r), path("clip_1.mp4"));
    // So is a link to it: an input named through a link keeps the file it points to.
    ASSERT_TRUE(QFile::link(dir.path() + "/clip.mp4", dir.path() + "/sub/link.mp4"));
    r.inputPath = "/elsewhere/clip.avi";
    r.inputsToKeep = {dir.path() + "/sub/link.mp4"};
    EXPECT_EQ(outputPathForNewFile(r), path("clip_1.mp4"));
}

TEST_F(OutputNaming, OtherInputsOfTheRunAreKeptWhenOverwriting) {
    touch("a.mp4");
    auto r = request("/in/a.avi", ".mp4");
    r.overwrite = true;
    r.inputsToKeep = {dir.path() + "/a.mp4"};
    EXPECT_EQ(outputPathForNewFile(r), path("a_1.mp4"));
}

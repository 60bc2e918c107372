#include "SettingsFile.h"

#include "IniFileHelpers.h"
#include "QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

using settings::SettingsFile;
using settings::SettingsWriteError;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString iniPath = dir.filePath(QStringLiteral("option.ini"));
    SettingsFile file{iniPath};

    void put(const QByteArray& bytes) { putFile(iniPath, bytes); }
    QByteArray bytes() const { return fileBytes(iniPath); }
};

TEST_F(SettingsFileTest, NamesMatchWithoutRegardToCaseAndTheStoredSpellingStays) {
    put("[options]\nthread_COUNT=7\n");
    EXPECT_EQ(file.ReadValue(QStringLiteral("Options"), QStringLiteral("Thread_Count")),
              QStringLiteral("7"));
    EXPECT_EQ(file.ReadValue(QStringLiteral("OPTIONS"), QStringLiteral("thread_count")),
              QStringLiteral("7"));

    file.WriteValue(QStringLiteral("OPTIONS"), QStringLiteral("Thread_Count"), QStringLiteral("9"));
    EXPECT_EQ(bytes(), QByteArray("[options]\nthread_COUNT=9\n"));
}

TEST_F(SettingsFileTest, ReplacingAValueKeepsEveryOtherLineByteForByte) {
    // Comments, blank lines, spaces round "=", CRLF line ends, a later section with the same
    // key, and a stray byte that is not UTF-8: none of it may move or change.
    const QByteArray before = "; written by hand\r\n"
                              "[SnapShot]\r\n"
                              "Dir = /old/place\r\n"
                              "Picture=PNG\r\n"
                              "\r\n"
                              "[Other]\r\n"
                              "Dir=\xB2\xE2\r\n"
                              "last=line without end";
    put(before);
    file.WriteValue(QStringLiteral("SnapShot"), QStringLiteral("Dir"), QStringLiteral("/new"));
    EXPECT_EQ(bytes(), QByteArray("; written by hand\r\n"
                                  "[SnapShot]\r\n"
                                  "Dir =/new\r\n"
                                  "Picture=PNG\r\n"
                                  "\r\n"
                                  "[Other]\r\n"
                                  "Dir=\xB2\xE2\r\n"
                                  "last=line without end"));
    EXPECT_EQ(file.ReadValue(QStringLiteral("snapshot"), QStringLiteral("dir")),
              QStringLiteral("/new"));
}

TEST_F(SettingsFileTest, NewKeyGoesToTheEndOfItsOwnSection) {
    put("[A]\nx=1\n\n[B]\ny=2");
    file.WriteValue(QStringLiteral("a"), QStringLiteral("z"), QStringLiteral("3"));
    file.WriteValue(QStringLiteral("B"), QStringLiteral("w"), QStringLiteral("4"));
    EXPECT_EQ(bytes(), QByteArray("[A]\nx=1\nz=3\n\n[B]\ny=2\nw=4\n"));

    // A key of the same name in another section is another key.
    EXPECT_EQ(file.ReadValue(QStringLiteral("B"), QStringLiteral("x")), std::nullopt);
}

TEST_F(SettingsFileTest, NewSectionIsAppendedWithTheFilesLineEnds) {
    put("[A]\r\nx=1");
    file.WriteValue(QStringLiteral("Skin"), QStringLiteral("SetSkin"), QStringLiteral("0"));
    EXPECT_EQ(bytes(), QByteArray("[A]\r\nx=1\r\n[Skin]\r\nSetSkin=0\r\n"));
}

TEST_F(SettingsFileTest, FirstWriteCreatesTheFileInUtf8WithoutMark) {
    const QString folder = QStringLiteral("C:\\晨帆视频软件\\输出");
    file.WriteValue(QStringLiteral("OutPath"), QStringLiteral("OutPath"), folder);
    EXPECT_EQ(bytes(), QByteArray("[OutPath]\nOutPath=") + folder.toUtf8() + "\n");
    EXPECT_FALSE(bytes().startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(file.ReadValue(QStringLiteral("OutPath"), QStringLiteral("OutPath")), folder);
}

TEST_F(SettingsFileTest, HandEditedFileWithByteOrderMarkStillReadsAndKeepsItsMark) {
    put("\xEF\xBB\xBF[Skin]\nSetSkin=3\n");
    EXPECT_EQ(file.ReadValue(QStringLiteral("Skin"), QStringLiteral("SetSkin")),
              QStringLiteral("3"));
    file.WriteValue(QStringLiteral("Skin"), QStringLiteral("SetSkin"), QStringLiteral("4"));
    EXPECT_EQ(bytes(), QByteArray("\xEF\xBB\xBF[Skin]\nSetSkin=4\n"));
}

TEST_F(SettingsFileTest, WhatCountsAsMissing) {
    struct Case {
        const char* content; // nullptr: no file at all
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {nullptr, std::nullopt},
        {"[Other]\nKey=1\n", std::nullopt},            // no section
        {"[S]\nOther=1\n", std::nullopt},              // no key
        {"[S]\nKey=\n", std::nullopt},                 // empty
        {"[S]\nKey=   \n", std::nullopt},              // blanks only
        {"[S]\nKey=Error\n", std::nullopt},            // the fallback text itself
        {"Key=1\n[S]\n", std::nullopt},                // a key before any section belongs to none
        {"[S]\n;Key=1\n", std::nullopt},               // a comment
        {"[S]\nKey=error\n", QStringLiteral("error")}, // compared case-sensitively
        {"[S]\nKey=Error \n", std::nullopt},           // blanks round the value do not count
        {"[S]\nKey=a=b\n", QStringLiteral("a=b")},
        {"[S]\nKey=1\n[S]\nKey=2\n", QStringLiteral("1")}, // first section wins
    };
    for (const Case& c : cases) {
        QFile::remove(iniPath);
        if (c.content)
            put(c.content);
        EXPECT_EQ(file.ReadValue(QStringLiteral("S"), QStringLiteral("Key")), c.expected)
            << (c.content ? c.content : "<no file>");
    }
}

TEST_F(SettingsFileTest, LongValuesAreCutTo2047Characters) {
    const QString longValue(3000, QChar(u'帆'));
    file.WriteValue(QStringLiteral("S"), QStringLiteral("K"), longValue);
    const auto read = file.ReadValue(QStringLiteral("S"), QStringLiteral("K"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), 2047);
    EXPECT_EQ(*read, longValue.left(2047));
}

TEST_F(SettingsFileTest, EveryReadSeesTheFileAsItIsNow) {
    file.WriteValue(QStringLiteral("SnapShot"), QStringLiteral("Picture"), QStringLiteral("PNG"));
    ASSERT_EQ(file.ReadValue(QStringLiteral("SnapShot"), QStringLiteral("Picture")),
              QStringLiteral("PNG"));
    put("[SnapShot]\nPicture=JPG\n");
    EXPECT_EQ(file.ReadValue(QStringLiteral("SnapShot"), QStringLiteral("Picture")),
              QStringLiteral("JPG"));
    // A second object over the same path sees the first one's writes at once.
    SettingsFile(iniPath).WriteValue(QStringLiteral("SnapShot"), QStringLiteral("Picture"),
                                     QStringLiteral("GIF"));
    EXPECT_EQ(file.ReadValue(QStringLiteral("SnapShot"), QStringLiteral("Picture")),
              QStringLiteral("GIF"));
}

void expectWriteFails(const SettingsFile& f, const QString& value = QStringLiteral("1")) {
    try {
        f.WriteValue(QStringLiteral("Skin"), QStringLiteral("SetSkin"), value);
        ADD_FAILURE() << "write to " << f.path().toStdString() << " did not fail";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + f.path());
    }
}

TEST_F(SettingsFileTest, WriteThatCannotBeDoneNamesTheFullPath) {
    // The folder does not exist (the file is never created in a folder of its own).
    const SettingsFile nowhere(dir.filePath(QStringLiteral("missing/option.ini")));
    expectWriteFails(nowhere);
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing"))).exists());

    // The path names a folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("option.ini")));
    expectWriteFails(file);
    EXPECT_EQ(file.ReadValue(QStringLiteral("Skin"), QStringLiteral("SetSkin")), std::nullopt);
}

TEST_F(SettingsFileTest, ValueWithALineBreakIsRefusedAndTheFileStaysAsItWas) {
    put("[Skin]\nSetSkin=2\n");
    expectWriteFails(file, QStringLiteral("3\n[Options]"));
    EXPECT_EQ(bytes(), QByteArray("[Skin]\nSetSkin=2\n"));
}

TEST_F(SettingsFileTest, ReadOnlyFolderAndReadOnlyFileRefuseTheWrite) {
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const QString roFolder = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(roFolder));
    QFile::setPermissions(roFolder, QFile::ReadOwner | QFile::ExeOwner);
    expectWriteFails(SettingsFile(roFolder + QStringLiteral("/option.ini")));
    QFile::setPermissions(roFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    put("[Skin]\nSetSkin=2\n");
    QFile::setPermissions(iniPath, QFile::ReadOwner);
    expectWriteFails(file);
    EXPECT_EQ(bytes(), QByteArray("[Skin]\nSetSkin=2\n"));
}

TEST(SettingsFileLocation, ProgramFileSitsBesideTheProgram) {
    EXPECT_EQ(SettingsFile::forProgram().path(),
              QDir::toNativeSeparators(QCoreApplication::applicationDirPath() +
                                       QStringLiteral("/option.ini")));
}

} // namespace

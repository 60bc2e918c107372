#include "RowTexts.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace medialist;

TEST(RowTexts, SecToDateWrapsAtADay) {
    struct Case {
        int64_t s;
        const char* text;
    } cases[] = {{0, "00:00:00"},         {90, "00:01:30"},
                 {3599, "00:59:59"},      {3600, "01:00:00"},
                 {86399, "23:59:59"},     {86400, "00:00:00"},
                 {25 * 3600, "01:00:00"}, {36 * 3600 + 61, "12:01:01"}};
    for (const auto& c : cases)
        EXPECT_EQ(SecToDate(c.s), QString::fromLatin1(c.text)) << c.s;
}

TEST(RowTexts, DurationIsNotAvailableUnlessPositive) {
    EXPECT_EQ(durationText(0), QStringLiteral("N/A"));
    EXPECT_EQ(durationText(-1), QStringLiteral("N/A"));
    EXPECT_EQ(durationText(90'999'999), QStringLiteral("00:01:30"));
}

TEST(RowTexts, SizeInMegabytesToHundredthsInShortestForm) {
    struct Case {
        int64_t bytes;
        const char* text;
    } cases[] = {
        {13'107'200, "12.5MB"},
        {3'145'728, "3MB"},
        {0, "0MB"},
        {1'048'576 + 10'486, "1.01MB"}, // 1.0100002 MB
        // exact ties at the thousandths go to the even hundredth
        {static_cast<int64_t>(1.125 * 1048576), "1.12MB"},
        {static_cast<int64_t>(1.375 * 1048576), "1.38MB"},
        {static_cast<int64_t>(2.5 * 1048576), "2.5MB"},
        {5'000'000'000LL, "4768.37MB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sizeText(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
}

TEST(OpenFilters, FortyTwoEntriesStartingWithAllFiles) {
    const auto filters = openDialogFilters();
    ASSERT_EQ(filters.size(), 42u);
    const QString s = openDialogFilterString();
    EXPECT_TRUE(
        s.startsWith(QStringLiteral("所有文件格式 (*.*)|*.*|支持的视频/音频文件格式|*.AVI;")));
    EXPECT_TRUE(s.endsWith(QStringLiteral("|AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|")));
    EXPECT_EQ(s.count(QLatin1Char('|')), 84);
    // entry 38 has an ideographic space before its bracket
    EXPECT_EQ(QString::fromUtf8(filters[37].description),
              QStringLiteral("Flac无损压缩音频格式") + QChar(0x3000) + QStringLiteral("(*.flac)"));
    const QStringList qt = openDialogNameFilters();
    EXPECT_EQ(qt.first(), QStringLiteral("所有文件格式 (*.*) (*.*)"));
    EXPECT_EQ(qt.last(), QStringLiteral("AIFF音频编码格式(*.aif; *.aiff) (*.aif *.aiff)"));
}

TEST(FolderScan, EveryFileDirectlyInTheFolderHiddenIncluded) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QDir d(tmp.path());
    for (const char* name : {"b.avi", "a.txt", ".hidden.mp4", "noext"}) {
        QFile f(d.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(d.mkpath(QStringLiteral("sub")));
    QFile inner(d.filePath(QStringLiteral("sub/c.avi")));
    ASSERT_TRUE(inner.open(QIODevice::WriteOnly));

    QStringList got = GetFilenames(tmp.path(), QStringLiteral("*.*"));
    got.sort();
    const QString base = tmp.path() + QDir::separator();
    EXPECT_EQ(got,
              QStringList({base + ".hidden.mp4", base + "a.txt", base + "b.avi", base + "noext"}));
    EXPECT_TRUE(
        GetFilenames(tmp.path() + QStringLiteral("/missing"), QStringLiteral("*.*")).isEmpty());
}

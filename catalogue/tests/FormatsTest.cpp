#include "Formats.h"
#include "QtPrinters.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <set>

using namespace catalogue;

TEST(Formats, EveryTitleGivesTheExtensionInItsBrackets) {
    // The rule looks at four fixed characters; for every title of the catalogue it must give
    // exactly what the brackets say, so a title typed with a stray character shows up here.
    const QRegularExpression bracket(QStringLiteral("\\(\\*(\\.[a-z0-9]+)\\)$"));
    int seen = 0;
    for (const auto& c : categories()) {
        for (const auto& f : c.formats) {
            const QString title = QString::fromUtf8(f.title);
            const auto m = bracket.match(title);
            ASSERT_TRUE(m.hasMatch()) << f.title;
            EXPECT_EQ(FormatExtension(title), m.captured(1)) << f.title;
            ++seen;
        }
    }
    EXPECT_EQ(seen, 71);
}

TEST(Formats, FixedEndingsOfTheExtensionRule) {
    struct Case {
        const char* title;
        const char* ext;
    } cases[] = {
        {"X(*.flac)", ".flac"}, {"X(*.rm)", ".rm"},     {"X(*.ra)", ".ra"},
        {"X(*.aiff)", ".aiff"}, {"X(*.mpeg)", ".mpeg"}, {"X(*.lac))", ".alac"},
        {"X(*.mp4)", ".mp4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatExtension(QString::fromUtf8(c.title)), QString::fromUtf8(c.ext)) << c.title;
}

TEST(Formats, LiveCodesComeFromTheListPositions) {
    std::set<int> expected;
    auto range = [&](int a, int b) {
        for (int i = a; i <= b; ++i)
            expected.insert(i);
    };
    range(1100, 1103);
    range(0, 14);
    range(100, 112);
    range(2400, 2415);
    range(1000, 1004);
    range(500, 504);
    range(2500, 2512);

    std::set<int> fromPositions;
    std::set<int> keys;
    for (int cat = 0; cat < static_cast<int>(categories().size()); ++cat) {
        const auto list = formatsOfCategory(cat);
        for (int pos = 0; pos < static_cast<int>(list.size()); ++pos) {
            const int code = formatCode(cat, pos);
            EXPECT_EQ(code, list[static_cast<std::size_t>(pos)].code) << cat << "/" << pos;
            fromPositions.insert(code);
            keys.insert(rowFormatKey(cat, pos));
            EXPECT_EQ(findFormat(code), &list[static_cast<std::size_t>(pos)]);
        }
    }
    EXPECT_EQ(fromPositions, expected);
    EXPECT_EQ(keys.size(), 71u);
    EXPECT_EQ(formatCode(3, 3), 2403);
    EXPECT_EQ(formatCode(2, 3), 103);
    EXPECT_EQ(rowFormatKey(2, 3), 303);
    EXPECT_EQ(formatCode(6, 12), 2512);
    EXPECT_EQ(rowFormatKey(6, 12), 712);
    EXPECT_EQ(formatCode(7, 0), -1);
    EXPECT_EQ(formatCode(0, 4), -1);
    EXPECT_EQ(findFormat(15), nullptr);
}

TEST(Formats, CategoryCodesAreNotPositions) {
    const int codes[] = {11, 0, 1, 24, 10, 5, 25};
    const int images[] = {11, 0, 1, 12, 10, 5, 13};
    ASSERT_EQ(categories().size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(categoryCode(i), codes[i]);
        EXPECT_EQ(categoryAt(i)->imageIndex, images[i]);
    }
    EXPECT_EQ(categoryCode(-1), -1);
    EXPECT_EQ(categoryCode(7), -1);
    EXPECT_STREQ(categoryAt(0)->caption, "Flash视频");
    EXPECT_STREQ(categoryAt(6)->caption, "平板电脑");
}

TEST(Formats, AudioOnlyFormats) {
    int audio = 0;
    for (int code : allFormatCodes())
        audio += isAudioOnlyFormat(code) ? 1 : 0;
    EXPECT_EQ(audio, 2 + 13 + 2);
    EXPECT_TRUE(isAudioOnlyFormat(2415));
    EXPECT_FALSE(isAudioOnlyFormat(2414));
    EXPECT_FALSE(isAudioOnlyFormat(1100));
}

#include "PresetChoice.h"
#include "Formats.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace catalogue;

TEST(PresetMapping, KbpsTextsAreReadAsDecimals) {
    struct Case {
        const char* text;
        int32_t bits;
    } cases[] = {
        {"7.4 kbps", 7400},  {"4.75 kbps", 4750},      {"5.15 kbps", 5150},   {"5.9 kbps", 5900},
        {"7.95 kbps", 7950}, {"10.2 kbps", 10200},     {"12.2 kbps", 12200},  {"816 kbps", 816000},
        {"8 kbps", 8000},    {" 1200 kbps ", 1200000}, {"2000kbps", 2000000}, {"1.5000 kbps", 1500},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kbpsToBitsPerSecond(QString::fromUtf8(c.text)), c.bits) << c.text;
    for (const char* bad :
         {"", "kbps", "abc kbps", "1.2345 kbps", "-8 kbps", "1,5 kbps", "9999999 kbps", "1. kbps"})
        EXPECT_FALSE(kbpsToBitsPerSecond(QString::fromUtf8(bad))) << bad;
}

TEST(PresetMapping, EveryBitRateEntryGivesWholeBits) {
    // Checked against floating point with rounding, which the real rule must never need.
    for (int code : allFormatCodes()) {
        for (PresetKind kind : {PresetKind::VideoBitrate, PresetKind::AudioBitrate}) {
            for (const QString& e : presetEntries(code, kind)) {
                if (e == "无视频")
                    continue;
                const auto bits = kbpsToBitsPerSecond(e);
                ASSERT_TRUE(bits) << e.toStdString();
                const double approx = e.section(' ', 0, 0).toDouble() * 1000.0;
                EXPECT_EQ(*bits, static_cast<int32_t>(std::lround(approx))) << e.toStdString();
            }
        }
    }
}

TEST(PresetMapping, WordEntries) {
    Profile p;
    p.Video_FrameSize = "640*480";
    p.Video_FrameRate = "25";
    p.Video_FrameAspectRatio = "4:3";
    p.Video_VideoBitrate = 816000;
    // An audio format's drop-downs.
    EXPECT_TRUE(
        applyPresetTexts(p, {"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}));
    EXPECT_TRUE(p.Video_FrameSize.isEmpty());
    EXPECT_TRUE(p.Video_FrameRate.isEmpty());
    EXPECT_TRUE(p.Video_FrameAspectRatio.isEmpty());
    EXPECT_EQ(p.Video_VideoBitrate, -1000);
    EXPECT_EQ(p.Video_AudioBitrate, 7400);
    EXPECT_EQ(p.Video_AudioSampleRate, "8000");

    struct AspectCase {
        const char* entry;
        const char* field;
    } aspects[] = {{"普通视频4:3模式", "4:3"},
                   {"宽屏视频16:9模式", "16:9"},
                   {"宽屏视频37:20模式", "37:20"},
                   {"宽屏视频47:20模式", "47:20"},
                   {"保持原视频模式", ""}};
    for (const auto& a : aspects) {
        p.Video_FrameAspectRatio = "x";
        EXPECT_TRUE(applyPresetText(p, PresetKind::Aspect, QString::fromUtf8(a.entry)));
        EXPECT_EQ(p.Video_FrameAspectRatio, QString::fromUtf8(a.field)) << a.entry;
    }
    EXPECT_TRUE(applyPresetText(p, PresetKind::FrameRate, "保持原帧速率"));
    EXPECT_TRUE(p.Video_FrameRate.isEmpty());
    EXPECT_TRUE(applyPresetText(p, PresetKind::FrameRate, "12"));
    EXPECT_EQ(p.Video_FrameRate, "12");
    EXPECT_TRUE(applyPresetText(p, PresetKind::FrameSize, "保持原分辨率"));
    EXPECT_TRUE(p.Video_FrameSize.isEmpty());

    // A text that is no rate leaves the field as it was.
    p.Video_AudioBitrate = 128000;
    EXPECT_FALSE(applyPresetText(p, PresetKind::AudioBitrate, "快"));
    EXPECT_EQ(p.Video_AudioBitrate, 128000);
}

TEST(PresetMapping, ShownEntriesOverwriteTheTableValues) {
    // 1100's table says 1200000, its default entry says 816 kbps: what converts is the entry.
    Profile p;
    ASSERT_TRUE(buildProfile(p, 1100));
    ASSERT_TRUE(applyPresetTexts(p, *presetTextsAt(1100, *defaultPresetPositions(1100))));
    EXPECT_EQ(p.Video_VideoBitrate, 816000);
    EXPECT_EQ(p.Video_FrameRate, "25.00");
    EXPECT_EQ(p.Video_AudioSampleRate, "22050");
    EXPECT_EQ(p.Video_AudioCodec, "libmp3lame"); // not a preset: the table's value stays

    EXPECT_EQ(presetColumnTexts(1100, *defaultPresetPositions(1100)),
              (PresetTexts{"", "816000", "25.00", "128000", "22050", ""}));
    PresetPositions chosen = *defaultPresetPositions(2502);
    EXPECT_EQ(presetColumnTexts(2502, chosen),
              (PresetTexts{"", "1200000", "", "128000", "48000", "16:9"}));
    chosen[index(PresetKind::Aspect)] = 9;
    EXPECT_FALSE(presetColumnTexts(2502, chosen));
}

TEST(PresetPositionsText, TwoDigitsPerDropDownInStoredOrder) {
    // Format 0's defaults: size 0, video rate 3, audio rate 10, aspect 0, frame rate 9, sample
    // rate 4 -- stored in that order although the drop-downs fill in another.
    const PresetPositions zero = *defaultPresetPositions(0);
    EXPECT_EQ(encodePresetPositions(zero), "000310000904");
    EXPECT_EQ(decodePresetPositions("000310000904"), zero);

    for (int code : allFormatCodes()) {
        const PresetPositions p = *defaultPresetPositions(code);
        const QString text = encodePresetPositions(p);
        EXPECT_EQ(text.size(), 12) << code;
        EXPECT_EQ(decodePresetPositions(text), p) << code;
    }

    PresetPositions p = zero;
    p[index(PresetKind::FrameSize)] = 27;
    p[index(PresetKind::SampleRate)] = -1;
    EXPECT_EQ(encodePresetPositions(p), "27031000090-1");
    EXPECT_FALSE(decodePresetPositions(encodePresetPositions(p)));
}

TEST(PresetPositionsText, AnythingButTwelveDigitsReadsAsNothing) {
    for (const char* bad : {"0003100009a4", "00031000090", "0003100009040", "", "00 310000904",
                            "-00310000904", "０００３１０００９０４"})
        EXPECT_FALSE(decodePresetPositions(QString::fromUtf8(bad))) << bad;
}

TEST(PresetPositionsText, ReplacingOnePositionKeepsTheOthers) {
    EXPECT_EQ(replacePresetPosition("000310000904", PresetKind::VideoBitrate, 4), "000410000904");
    EXPECT_EQ(replacePresetPosition("000310000904", PresetKind::SampleRate, 5), "000310000905");
    EXPECT_EQ(replacePresetPosition("000310000904", PresetKind::FrameRate, 11), "000310001104");
    EXPECT_EQ(replacePresetPosition("000310000904", PresetKind::Aspect, 2), "000310020904");
    EXPECT_EQ(replacePresetPosition("0003", PresetKind::Aspect, 2), "0003");
}

TEST(RowFormatKey, DecodesToPositionsThatNameAFormat) {
    struct Case {
        const char* text;
        int category;
        int format;
    } good[] = {{"100", 0, 0}, {"303", 2, 3}, {"712", 6, 12}, {"214", 1, 14}};
    for (const auto& c : good) {
        const auto fp = decodeRowFormatKey(QString::fromUtf8(c.text));
        ASSERT_TRUE(fp) << c.text;
        EXPECT_EQ(*fp, (FormatPositions{c.category, c.format})) << c.text;
    }
    EXPECT_EQ(formatCode(2, 3), 103);
    for (const char* bad :
         {"", "99", "104", "215", "800", "1a3", " 303", "303 ", "-303", "3.0", "999999999999"})
        EXPECT_FALSE(decodeRowFormatKey(QString::fromUtf8(bad))) << bad;
}

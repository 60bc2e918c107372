#include "Presets.h"
#include "Formats.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace catalogue;

namespace {
PresetTexts defaultTexts(int code) {
    return *presetTextsAt(code, *defaultPresetPositions(code));
}
} // namespace

TEST(Presets, EveryFormatHasSixListsWithADefaultInside) {
    int seen = 0;
    for (int code : allFormatCodes()) {
        const PresetAssignment* a = presetAssignment(code);
        ASSERT_NE(a, nullptr) << code;
        EXPECT_EQ(a->videoListsDisabled, isAudioOnlyFormat(code)) << code;
        for (const auto& list : a->lists) {
            EXPECT_FALSE(list.entries.empty()) << code;
            EXPECT_GE(list.defaultPosition, 0) << code;
            EXPECT_LT(list.defaultPosition, static_cast<int>(list.entries.size())) << code;
        }
        ++seen;
    }
    EXPECT_EQ(seen, 71);
    EXPECT_EQ(presetAssignment(15), nullptr);
    EXPECT_TRUE(presetEntries(15, PresetKind::FrameSize).isEmpty());
    EXPECT_FALSE(defaultPresetPositions(2416));
}

TEST(Presets, DefaultEntriesInWords) {
    struct Case {
        int code;
        PresetTexts texts;
    } cases[] = {
        {1100, {"保持原分辨率", "816 kbps", "25.00", "128 kbps", "22050", "保持原视频模式"}},
        {112, {"该格式无视频", "无视频", "无视频", "7.4 kbps", "8000", "无视频"}},
        {2403, {"800*600", "1500 kbps", "29.97", "128 kbps", "48000", "保持原视频模式"}},
        {2502,
         {"保持原分辨率", "1200 kbps", "保持原帧速率", "128 kbps", "48000", "宽屏视频16:9模式"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultTexts(c.code), c.texts) << c.code;
}

TEST(Presets, PhoneFormatsOfferWholeFrameRatesOnly) {
    for (int code : {9, 2409}) {
        EXPECT_EQ(presetEntries(code, PresetKind::FrameRate),
                  (QStringList{"1", "2", "3", "5", "10", "12", "15"}))
            << code;
        EXPECT_EQ(defaultTexts(code)[index(PresetKind::FrameRate)], "12") << code;
        EXPECT_EQ(findPresetEntry(code, PresetKind::FrameRate, "保持原帧速率"), -1);
    }
}

TEST(Presets, PspCannotKeepTheSourceSize) {
    for (int code = 500; code <= 504; ++code) {
        const QStringList sizes = presetEntries(code, PresetKind::FrameSize);
        EXPECT_EQ(sizes.size(), 5) << code;
        EXPECT_EQ(sizes.value(0), "320*240") << code;
        EXPECT_FALSE(sizes.contains("保持原分辨率")) << code;
    }
}

TEST(Presets, DoubledEntryIsKeptAndFoundFirst) {
    const QStringList fs7 = presetEntries(2408, PresetKind::FrameSize);
    EXPECT_EQ(fs7.size(), 28);
    EXPECT_EQ(fs7.count("1920*1200"), 2);
    EXPECT_FALSE(fs7.contains("1920*1440"));
    EXPECT_EQ(findPresetEntry(2408, PresetKind::FrameSize, "1920*1200"), 24);
    EXPECT_TRUE(presetEntries(1100, PresetKind::FrameSize).contains("1920*1440"));
}

TEST(Presets, PositionsOutsideTheListsShowNothing) {
    PresetPositions p = *defaultPresetPositions(500);
    p[index(PresetKind::FrameSize)] = 5; // FS9 has five sizes
    EXPECT_FALSE(presetTextsAt(500, p));
    p[index(PresetKind::FrameSize)] = -1;
    EXPECT_FALSE(presetTextsAt(500, p));
}

TEST(PresetFill, FillsInOrderAndDisablesTheVideoListsOfAudioFormats) {
    const auto audio = planPresetFill(100, PresetTexts{});
    ASSERT_TRUE(audio);
    std::array<PresetKind, 6> order{};
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = audio->selections[i].kind;
    EXPECT_EQ(order, kPresetFillOrder);
    EXPECT_EQ(std::vector<PresetKind>(audio->disabled.begin(), audio->disabled.end()),
              (std::vector<PresetKind>{PresetKind::FrameSize, PresetKind::VideoBitrate,
                                       PresetKind::Aspect, PresetKind::FrameRate}));
    EXPECT_EQ(audio->selections[0].entries, QStringList{"该格式无视频"});

    // A video format afterwards: nothing stays disabled and the lists are full again.
    PresetTexts shown;
    for (const auto& s : audio->selections)
        shown[index(s.kind)] = s.text;
    const auto video = planPresetFill(0, shown);
    ASSERT_TRUE(video);
    EXPECT_TRUE(video->disabled.empty());
    EXPECT_EQ(video->selections[0].entries.size(), 28);
    EXPECT_TRUE(video->selections[0].textChanged);  // "该格式无视频" -> "保持原分辨率"
    EXPECT_FALSE(video->selections[3].textChanged); // "128 kbps" both times
    EXPECT_FALSE(video->selections[4].textChanged); // "44100" both times
    EXPECT_TRUE(video->selections[5].textChanged);  // "无视频" -> "保持原视频模式"
}

TEST(PresetFill, HandlersRunOnlyWhereTheShownTextChanges) {
    // 0 then 7: the same six default texts, so the second fill runs no change handler.
    const auto first = planPresetFill(0, PresetTexts{});
    ASSERT_TRUE(first);
    PresetTexts shown;
    for (const auto& s : first->selections) {
        EXPECT_TRUE(s.textChanged);
        shown[index(s.kind)] = s.text;
    }
    const auto second = planPresetFill(7, shown);
    ASSERT_TRUE(second);
    for (const auto& s : second->selections)
        EXPECT_FALSE(s.textChanged) << index(s.kind);

    // 0 then 2400: "128 kbps" again, but at position 2 of another list instead of 10. The
    // text decides the handler; the position still moves.
    const auto third = planPresetFill(2400, shown);
    ASSERT_TRUE(third);
    const PresetSelection& ab = third->selections[3];
    ASSERT_EQ(ab.kind, PresetKind::AudioBitrate);
    EXPECT_FALSE(ab.textChanged);
    EXPECT_EQ(ab.position, 2);
    EXPECT_EQ(first->selections[3].position, 10);
    EXPECT_FALSE(planPresetFill(3000, shown));
}

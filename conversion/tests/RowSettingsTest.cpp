#include "RowSettings.h"
#include "CatalogueChoice.h"
#include "Formats.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace conversion;
using catalogue::PresetKind;

namespace {

catalogue::PresetTexts presetColumnsOf(const RowColumns& row) {
    catalogue::PresetTexts t;
    for (PresetKind k : catalogue::kPresetFillOrder)
        t[static_cast<std::size_t>(catalogue::index(k))] = row[presetColumn(k)];
    return t;
}

// A row as the window adds it: the current choice, a file and its numbered name.
RowColumns addRow(const CatalogueChoice& choice, const QString& input) {
    OutputNameRequest naming;
    naming.folder = "/nonexistent-out";
    naming.inputPath = input;
    RowColumns row = choice.prepareNewFile(naming).row;
    row[SubItem::Duration] = "00:00:02";
    row[SubItem::TaskNumber] = "1";
    return row;
}

void choose(CatalogueChoice& c, int code, RowColumns* selected) {
    const auto pos = catalogue::positionsOfFormat(code);
    ASSERT_TRUE(pos);
    ASSERT_TRUE(c.chooseCategory(pos->category, selected));
    ASSERT_TRUE(c.chooseFormat(pos->format, selected));
}

} // namespace

TEST(ProfileColumns, FormatChangeCopiesTheTableValuesAsText) {
    RowColumns row;
    row[SubItem::OutputFile] = "clip.avi";
    row[SubItem::FormatKey] = "100";
    row[SubItem::PresetPositions] = "000310000901";

    catalogue::Profile p;
    ASSERT_TRUE(catalogue::buildProfile(p, 1100));
    writeProfileColumns(p, row);
    EXPECT_EQ(presetColumnsOf(row),
              (catalogue::PresetTexts{"", "1200000", "25", "128000", "22050", ""}));
    EXPECT_EQ(row[SubItem::AudioCodec], "libmp3lame");
    EXPECT_EQ(row[SubItem::DisableVideo], "False");
    EXPECT_EQ(row[SubItem::FileExt], ".flv");
    // Name, format key and positions are not the build's.
    EXPECT_EQ(row[SubItem::OutputFile], "clip.avi");
    EXPECT_EQ(row[SubItem::FormatKey], "100");
    EXPECT_EQ(row[SubItem::PresetPositions], "000310000901");

    ASSERT_TRUE(catalogue::buildProfile(p, 100));
    writeProfileColumns(p, row);
    EXPECT_EQ(row[SubItem::DisableVideo], "True");
    ASSERT_TRUE(catalogue::buildProfile(p, 11));
    writeProfileColumns(p, row);
    EXPECT_EQ(row[SubItem::TargetType], "dvd");
    EXPECT_EQ(row[SubItem::NormType], "PAL");
    EXPECT_EQ(row[SubItem::VideoBitrate], "-1000");
    EXPECT_EQ(row[SubItem::AudioChannels], "");
}

TEST(RowChoiceText, UnreadableRowsRestoreNothing) {
    CatalogueChoice c;
    choose(c, 2409, nullptr);
    const RowColumns good = addRow(c, "/in/a.avi");
    ASSERT_TRUE(readRowChoice(good));

    struct Case {
        const char* key;
        const char* positions;
    } bad[] = {
        {"409", "0409000005o4"},                         // a letter
        {"4o9", "040900000504"}, {"409", "04090000050"}, // short
        {"409", "040900000704"}, // frame rate 7: 2409's list has seven entries, 0-6
        {"816", "040900000504"}, // no eighth category
        {"", "040900000504"},
    };
    for (const auto& b : bad) {
        RowColumns row = good;
        row[SubItem::FormatKey] = b.key;
        row[SubItem::PresetPositions] = b.positions;
        EXPECT_FALSE(readRowChoice(row)) << b.key << " " << b.positions;

        // The shown choice stays what it was, and the row is not touched.
        CatalogueChoice shown;
        choose(shown, 2403, nullptr);
        const RowChoice before = shown.current();
        const RowColumns untouched = row;
        EXPECT_FALSE(shown.restore(row));
        EXPECT_EQ(shown.current(), before);
        EXPECT_EQ(row, untouched);
    }
}

TEST(MendedSelection, NewRowConvertsWithTheShownEntriesAlsoAfterItsSelection) {
    CatalogueChoice c; // 1100, untouched presets: "816 kbps" shown
    RowColumns row = addRow(c, "/in/clip.avi");
    EXPECT_EQ(row[SubItem::VideoBitrate], "816000");
    EXPECT_EQ(row[SubItem::FormatKey], "100");
    EXPECT_EQ(row[SubItem::PresetPositions], "000310000901");
    EXPECT_EQ(row[SubItem::OutputFile], "clip.flv");

    const RowColumns added = row;
    ASSERT_TRUE(c.restore(row)); // the selection that ends adding
    EXPECT_EQ(row, added);
    EXPECT_EQ(row[SubItem::VideoBitrate], "816000");
}

TEST(MendedSelection, AddingAFileLeavesTheSelectedRowAlone) {
    CatalogueChoice c;
    choose(c, 2403, nullptr);
    RowColumns a = addRow(c, "/in/a.avi");
    ASSERT_TRUE(c.restore(a));
    ASSERT_TRUE(c.choosePreset(PresetKind::VideoBitrate, 9, &a)); // "2500 kbps"
    ASSERT_TRUE(c.choosePreset(PresetKind::FrameSize, 12, &a));   // "640*480"
    const RowColumns aBefore = a;

    // A stays selected while B is added: B takes the shown choice, A is not rewritten.
    RowColumns b = addRow(c, "/in/b.avi");
    EXPECT_EQ(a, aBefore);
    EXPECT_EQ(a[SubItem::VideoBitrate], "2500000");
    EXPECT_EQ(a[SubItem::FrameSize], "640*480");
    EXPECT_EQ(b[SubItem::VideoBitrate], "2500000");

    // B's own change, then selecting A again: A shows and keeps its own entries.
    ASSERT_TRUE(c.restore(b));
    ASSERT_TRUE(c.choosePreset(PresetKind::VideoBitrate, 0, &b)); // "192 kbps"
    ASSERT_TRUE(c.restore(a));
    EXPECT_EQ(a, aBefore);
    EXPECT_EQ(c.shownTexts()[catalogue::index(PresetKind::VideoBitrate)], "2500 kbps");
    EXPECT_EQ(b[SubItem::VideoBitrate], "192000");
}

TEST(MendedSelection, RestoringStoredPositionsWritesWhatTheDropDownsShow) {
    // A row whose columns hold the table's raw values but whose positions name other
    // entries, as the old restore left rows: selecting it must end with columns equal to the
    // shown entries.
    RowColumns row;
    row.caption = "/in/clip.avi";
    row[SubItem::OutputFile] = "clip.flv";
    row[SubItem::FormatKey] = "100";
    catalogue::Profile raw;
    ASSERT_TRUE(catalogue::buildProfile(raw, 1100));
    writeProfileColumns(raw, row);
    catalogue::PresetPositions stored = *catalogue::defaultPresetPositions(1100);
    stored[catalogue::index(PresetKind::FrameSize)] = 11;   // "640*480"
    stored[catalogue::index(PresetKind::VideoBitrate)] = 6; // "1800 kbps"
    stored[catalogue::index(PresetKind::FrameRate)] = 3;    // "15.00"
    stored[catalogue::index(PresetKind::Aspect)] = 2;       // "宽屏视频16:9模式"
    row[SubItem::PresetPositions] = catalogue::encodePresetPositions(stored);

    CatalogueChoice c;
    choose(c, 2502, nullptr); // the lists show something else before the selection
    ASSERT_TRUE(c.restore(row));
    EXPECT_EQ(c.formatCode(), 1100);
    EXPECT_EQ(c.shownTexts(), (catalogue::PresetTexts{"640*480", "1800 kbps", "15.00", "128 kbps",
                                                      "22050", "宽屏视频16:9模式"}));
    EXPECT_EQ(presetColumnsOf(row),
              (catalogue::PresetTexts{"640*480", "1800000", "15.00", "128000", "22050", "16:9"}));
    EXPECT_EQ(presetColumnsOf(row), *catalogue::presetColumnTexts(1100, stored));
    EXPECT_EQ(row[SubItem::PresetPositions], catalogue::encodePresetPositions(stored));
    EXPECT_EQ(row.caption, "/in/clip.avi");
}

TEST(MendedSelection, FormatChangeOfTheSelectedRowTakesTheNewDefaultsWhole) {
    CatalogueChoice c; // 0 (AVI) then 2400: "128 kbps" stays shown but moves from 10 to 2
    choose(c, 0, nullptr);
    RowColumns row = addRow(c, "/in/clip.mkv");
    ASSERT_TRUE(c.restore(row));
    EXPECT_EQ(row[SubItem::OutputFile], "clip.avi");

    choose(c, 2400, &row);
    EXPECT_EQ(row[SubItem::FormatKey], "400");
    EXPECT_EQ(readRowChoice(row)->presets, *catalogue::defaultPresetPositions(2400));
    EXPECT_EQ(presetColumnsOf(row), *catalogue::presetColumnTexts(2400, c.current().presets));
    EXPECT_EQ(row[SubItem::VideoCodec], "libx264");
    EXPECT_EQ(row[SubItem::FileExt], ".avi");
    EXPECT_EQ(row[SubItem::OutputFile], "clip.mp4"); // the title's extension, as before

    choose(c, 110, &row); // FLAC
    EXPECT_EQ(row[SubItem::OutputFile], "clip.flac");
    EXPECT_EQ(row[SubItem::DisableVideo], "True");
    EXPECT_FALSE(c.presetEnabled(PresetKind::FrameRate));
    EXPECT_TRUE(c.presetEnabled(PresetKind::SampleRate));
    EXPECT_EQ(row[SubItem::Duration], "00:00:02");
}

TEST(PresetChange, WritesThePositionAndTheColumnOfTheSelectedRow) {
    CatalogueChoice c;
    RowColumns row = addRow(c, "/in/clip.avi");
    ASSERT_TRUE(c.choosePreset(PresetKind::VideoBitrate, 4, &row)); // "1200 kbps"
    EXPECT_EQ(row[SubItem::VideoBitrate], "1200000");
    EXPECT_EQ(row[SubItem::PresetPositions].mid(2, 2), "04");
    EXPECT_EQ(c.profile().Video_VideoBitrate, 1200000);

    // Outside the list: nothing changes.
    const RowColumns before = row;
    EXPECT_FALSE(c.choosePreset(PresetKind::Aspect, 5, &row));
    EXPECT_EQ(row, before);

    // Without a selected row only the shown choice moves; the next added file takes it.
    ASSERT_TRUE(c.choosePreset(PresetKind::Aspect, 3, nullptr)); // "宽屏视频37:20模式"
    EXPECT_EQ(row, before);
    EXPECT_EQ(addRow(c, "/in/next.avi")[SubItem::Aspect], "37:20");

    // The change handler's own rule, used by the same call.
    choose(c, 112, &row);
    EXPECT_EQ(row[SubItem::AudioBitrate], "7400");
    ASSERT_TRUE(setRowPreset(row, 112, PresetKind::AudioBitrate, 7)); // "12.2 kbps"
    EXPECT_EQ(row[SubItem::AudioBitrate], "12200");
    EXPECT_EQ(row[SubItem::PresetPositions].mid(4, 2), "07");
    EXPECT_FALSE(setRowPreset(row, 112, PresetKind::AudioBitrate, 8));
}

TEST(RowColumnsModel, CaptionsOfTheHiddenColumns) {
    EXPECT_EQ(subItemCaption(SubItem::FormatKey), "视频类别");
    EXPECT_EQ(subItemCaption(SubItem::PresetPositions), "视频选项");
    EXPECT_EQ(subItemCaption(SubItem::DisableVideo), "视频能否");
    EXPECT_EQ(subItemCaption(SubItem::NormType), "NormType");
    EXPECT_EQ(subItemCaption(SubItem::Fps), "");
}

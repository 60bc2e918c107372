#include "OutputRecord.h"
#include "CatalogueChoice.h"
#include "Formats.h"
#include "PresetChoice.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace conversion;
using engine::TOutputOptions;

namespace {

// Every field, named, so a failure says which one differs.
std::string differences(const TOutputOptions& a, const TOutputOptions& b) {
    std::ostringstream os;
    auto s = [&](const char* name, const QString& x, const QString& y) {
        if (x != y)
            os << name << ": \"" << x.toStdString() << "\" vs \"" << y.toStdString() << "\"\n";
    };
    auto n = [&](const char* name, long long x, long long y) {
        if (x != y)
            os << name << ": " << x << " vs " << y << "\n";
    };
    s("FileName", a.FileName, b.FileName);
    s("FileExt", a.FileExt, b.FileExt);
    s("FileFormat", a.FileFormat, b.FileFormat);
    s("AudioCodec", a.AudioCodec, b.AudioCodec);
    n("AudioVolume", a.AudioVolume, b.AudioVolume);
    n("AudioChannels", a.AudioChannels, b.AudioChannels);
    n("AudioSampleRate", a.AudioSampleRate, b.AudioSampleRate);
    n("AudioBitrate", a.AudioBitrate, b.AudioBitrate);
    s("VideoCodec", a.VideoCodec, b.VideoCodec);
    s("VideoPreset", a.VideoPreset, b.VideoPreset);
    n("DisableVideo", a.DisableVideo, b.DisableVideo);
    s("FrameRate", a.FrameRate, b.FrameRate);
    s("FrameSize", a.FrameSize, b.FrameSize);
    s("FrameAspectRatio", a.FrameAspectRatio, b.FrameAspectRatio);
    n("VideoBitrate", a.VideoBitrate, b.VideoBitrate);
    s("VideoTag", a.VideoTag, b.VideoTag);
    s("VideoFilters", a.VideoFilters, b.VideoFilters);
    n("TargetType", a.TargetType, b.TargetType);
    n("NormType", a.NormType, b.NormType);
    return os.str();
}

// A record of the engine's defaults with some fields set.
template <typename Set> TOutputOptions with(Set set) {
    TOutputOptions r;
    set(r);
    return r;
}

// What adding a file does with untouched presets: the choice of `code` with its defaults,
// the profile built and the entries applied, then the record of the engine's defaults
// filled from the profile.
struct Added {
    CatalogueChoice::NewFile file;
    TOutputOptions record;
};
Added addWithDefaults(int code) {
    CatalogueChoice choice;
    const auto pos = catalogue::positionsOfFormat(code);
    EXPECT_TRUE(pos);
    EXPECT_TRUE(choice.chooseCategory(pos->category, nullptr));
    EXPECT_TRUE(choice.chooseFormat(pos->format, nullptr));
    OutputNameRequest naming;
    naming.folder = "/nonexistent-out";
    naming.inputPath = "/in/clip.mkv";
    Added a{choice.prepareNewFile(naming), {}};
    a.record.reset();
    applyProfile(a.file.profile, a.record);
    return a;
}

} // namespace

TEST(AddedFileRecord, OddRowsFieldByField) {
    struct Case {
        int code;
        const char* outputName;
        TOutputOptions expected;
    };
    const Case cases[] = {
        {1100, "clip.flv", with([](TOutputOptions& r) {
             r.AudioCodec = "libmp3lame";
             r.AudioVolume = 256;
             r.AudioChannels = 2;
             r.AudioSampleRate = 22050;
             r.AudioBitrate = 128000;
             r.FrameRate = "25.00";
             r.VideoBitrate = 816000;
         })},
        {0, "clip.avi", with([](TOutputOptions& r) {
             r.AudioCodec = "libmp3lame";
             r.AudioVolume = 256;
             r.AudioChannels = 2;
             r.AudioSampleRate = 44100;
             r.AudioBitrate = 128000;
             r.VideoCodec = "mpeg4";
             r.FrameRate = "25.00";
             r.VideoBitrate = 816000;
             r.VideoTag = "XVID";
         })},
        // The disc target leaves codecs to the engine; the shown entries still apply.
        {11, "clip.mpg", with([](TOutputOptions& r) {
             r.AudioVolume = 256;
             r.AudioSampleRate = 44100;
             r.AudioBitrate = 128000;
             r.FrameRate = "29.97";
             r.FrameSize = "704*480";
             r.VideoBitrate = 1200000;
             r.TargetType = engine::ttDVD;
             r.NormType = engine::ntPAL;
         })},
        {14, "clip.rm", with([](TOutputOptions& r) {
             r.AudioVolume = 256;
             r.AudioSampleRate = 44100;
             r.AudioBitrate = 128000;
             r.VideoCodec = "rv20";
             r.FrameRate = "25.00";
             r.FrameSize = "320*240";
             r.VideoBitrate = 528000;
         })},
        // "无视频" is -1000 in the profile, which leaves the engine's default.
        {100, "clip.mp3", with([](TOutputOptions& r) {
             r.AudioCodec = "libmp3lame";
             r.AudioVolume = 256;
             r.AudioChannels = 2;
             r.AudioSampleRate = 44100;
             r.AudioBitrate = 128000;
             r.DisableVideo = true;
         })},
        {106, "clip.ra", with([](TOutputOptions& r) {
             r.AudioVolume = 256;
             r.AudioChannels = 2;
             r.AudioSampleRate = 44100;
             r.AudioBitrate = 112000;
             r.DisableVideo = true;
         })},
        {112, "clip.amr", with([](TOutputOptions& r) {
             r.AudioCodec = "libopencore_amrnb";
             r.AudioVolume = 256;
             r.AudioChannels = 1;
             r.AudioSampleRate = 8000;
             r.AudioBitrate = 7400;
             r.DisableVideo = true;
         })},
        {2400, "clip.avi", with([](TOutputOptions& r) {
             r.AudioCodec = "libmp3lame";
             r.AudioVolume = 256;
             r.AudioChannels = 2;
             r.AudioSampleRate = 48000;
             r.AudioBitrate = 128000;
             r.VideoCodec = "libx264";
             r.VideoPreset = "libx264-default";
             r.FrameRate = "25.00";
             r.VideoBitrate = 1000000;
         })},
        {2403, "clip.mp4", with([](TOutputOptions& r) {
             r.AudioCodec = "libfaac";
             r.AudioVolume = 256;
             r.AudioChannels = 2;
             r.AudioSampleRate = 48000;
             r.AudioBitrate = 128000;
             r.VideoCodec = "libx264";
             r.VideoPreset = "libx264-default";
             r.FrameRate = "29.97";
             r.FrameSize = "800*600";
             r.VideoBitrate = 1500000;
         })},
        {2502, "clip.mp4", with([](TOutputOptions& r) {
             r.AudioCodec = "libfaac";
             r.AudioVolume = 256;
             r.AudioChannels = 2;
             r.AudioSampleRate = 48000;
             r.AudioBitrate = 128000;
             r.VideoCodec = "mpeg4";
             r.FrameAspectRatio = "16:9";
             r.VideoBitrate = 1200000;
         })},
    };
    for (const auto& c : cases) {
        const Added a = addWithDefaults(c.code);
        EXPECT_EQ(differences(a.record, c.expected), "") << "format " << c.code;
        EXPECT_EQ(a.file.row[SubItem::OutputFile], c.outputName) << c.code;
    }
}

TEST(AddedFileRecord, StartRebuildsTheSameRecordFromTheRowForEveryFormat) {
    // Start builds each task from the row's columns over the record kept since adding; for a
    // row as adding wrote it, that changes nothing but the container extension.
    for (int code : catalogue::allFormatCodes()) {
        const Added a = addWithDefaults(code);
        TOutputOptions fromRow = a.record;
        applyRowColumns(a.file.row, fromRow);
        TOutputOptions expected = a.record;
        if (!a.file.profile.Video_FileExt.isEmpty())
            expected.FileExt = a.file.profile.Video_FileExt;
        EXPECT_EQ(differences(fromRow, expected), "") << "format " << code;
    }
}

TEST(RowRecord, ColumnRules) {
    RowColumns row;
    row[SubItem::VideoCodec] = "libx264";
    row[SubItem::VideoTag] = "XVID";
    row[SubItem::AudioCodec] = "AUTO";
    row[SubItem::AudioChannels] = "";
    row[SubItem::VideoBitrate] = "-1000";
    row[SubItem::AudioBitrate] = "-1000";
    row[SubItem::SampleRate] = "AUTO";
    row[SubItem::DisableVideo] = "True";
    row[SubItem::TargetType] = "cd";
    row[SubItem::NormType] = "NTSC";

    TOutputOptions r;
    r.AudioCodec = "aac"; // kept from adding
    r.VideoTag = "DX50";
    r.AudioBitrate = 64000;
    r.AudioSampleRate = 32000;
    applyRowColumns(row, r);
    EXPECT_EQ(r.VideoCodec, "libx264");
    EXPECT_EQ(r.VideoPreset, "libx264-default");
    EXPECT_EQ(r.VideoTag, ""); // never a tag with libx264
    EXPECT_EQ(r.AudioCodec, "aac");
    EXPECT_EQ(r.AudioChannels, -1);
    EXPECT_EQ(r.VideoBitrate, -1);
    EXPECT_EQ(r.AudioBitrate, 64000);
    EXPECT_EQ(r.AudioSampleRate, 32000);
    EXPECT_TRUE(r.DisableVideo);
    EXPECT_EQ(r.TargetType, engine::ttIgnore);
    EXPECT_EQ(r.NormType, engine::ntNTSC);

    row[SubItem::VideoCodec] = "mpeg4";
    row[SubItem::DisableVideo] = "true"; // only "True" disables
    row[SubItem::TargetType] = "svcd";
    row[SubItem::NormType] = "pal";
    row[SubItem::AudioChannels] = "zwei"; // not a number: the field keeps its value
    r.VideoPreset = "libx264-default";
    applyRowColumns(row, r);
    EXPECT_EQ(r.VideoCodec, "mpeg4");
    EXPECT_EQ(r.VideoPreset, "");
    EXPECT_EQ(r.VideoTag, "XVID");
    EXPECT_FALSE(r.DisableVideo);
    EXPECT_EQ(r.TargetType, engine::ttSVCD);
    EXPECT_EQ(r.NormType, engine::ntAuto);
    EXPECT_EQ(r.AudioChannels, -1);
}

TEST(RowRecord, EmptyColumnsKeepTheAddedValues) {
    TOutputOptions r;
    r.FileExt = ".avi";
    r.FrameSize = "640*480";
    r.FrameRate = "25";
    r.FrameAspectRatio = "4:3";
    r.VideoCodec = "mpeg4";
    r.TargetType = engine::ttVCD;
    applyRowColumns(RowColumns{}, r);
    EXPECT_EQ(r.FileExt, ".avi");
    EXPECT_EQ(r.FrameSize, "640*480");
    EXPECT_EQ(r.FrameRate, "25");
    EXPECT_EQ(r.FrameAspectRatio, "4:3");
    EXPECT_EQ(r.VideoCodec, "mpeg4");
    EXPECT_EQ(r.TargetType, engine::ttVCD);
    EXPECT_EQ(r.NormType, engine::ntAuto);
}

TEST(ProfileRecord, AutoAndSentinelsKeepTheDefaults) {
    catalogue::Profile p;
    p.Video_AudioCodec = "AUTO";
    p.Video_AudioSampleRate = "AUTO";
    p.Video_AudioBitrate = -1000;
    p.Video_VideoBitrate = -1000;
    p.Video_TargetType = "laserdisc";
    p.Video_NormType = "SECAM";
    TOutputOptions r;
    r.reset();
    applyProfile(p, r);
    EXPECT_EQ(differences(r, with([](TOutputOptions& d) { d.AudioVolume = 256; })), "");
}

#include "Profile.h"
#include "Formats.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <set>

using namespace catalogue;

TEST(Profile, ResetClearsEverythingButTheFileBeingAdded) {
    Profile p;
    p.Video_FileExt = ".avi";
    p.Video_VideoCodec = "mpeg4";
    p.Video_VideoTag = "XVID";
    p.Video_AudioCodec = "libmp3lame";
    p.Video_AudioChannels = "2";
    p.Video_AudioSampleRate = "44100";
    p.Video_AudioBitrate = 128000;
    p.Video_VideoBitrate = -1000;
    p.Video_FrameSize = "320*240";
    p.Video_FrameRate = "25";
    p.Video_FrameAspectRatio = "4:3";
    p.Video_AudioVolume = "100";
    p.Video_TargetType = "dvd";
    p.Video_NormType = "PAL";
    p.Video_DisableVideo = true;
    p.Video_FileFormat = "avi";
    p.Video_VideoFilters = "null";
    p.Video_AddFileName = "/in/clip.avi";
    p.Video_OutPutFileName = "/out/clip.avi";

    p.reset();

    Profile expected;
    expected.Video_AddFileName = "/in/clip.avi";
    EXPECT_EQ(p, expected);
    EXPECT_EQ(p.Video_AudioVolume, "256");
    EXPECT_EQ(p.Video_AudioBitrate, -1);
    EXPECT_EQ(p.Video_VideoBitrate, -1);
    EXPECT_FALSE(p.Video_DisableVideo);
    EXPECT_TRUE(p.Video_OutPutFileName.isEmpty());
}

TEST(Profile, EachBuildStartsFromTheReset) {
    Profile p;
    ASSERT_TRUE(buildProfile(p, 9)); // 3GP: size, aspect, mono, low rates
    p.Video_AddFileName = "/in/a.mkv";
    const auto ext = buildProfile(p, 100);
    ASSERT_TRUE(ext);
    EXPECT_EQ(*ext, ".mp3");
    EXPECT_TRUE(p.Video_FrameSize.isEmpty());
    EXPECT_TRUE(p.Video_FrameAspectRatio.isEmpty());
    EXPECT_TRUE(p.Video_FrameRate.isEmpty());
    EXPECT_TRUE(p.Video_VideoCodec.isEmpty());
    EXPECT_EQ(p.Video_VideoBitrate, -1);
    EXPECT_EQ(p.Video_AudioChannels, "2");
    EXPECT_EQ(p.Video_AudioSampleRate, "48000");
    EXPECT_TRUE(p.Video_DisableVideo);
    EXPECT_EQ(p.Video_AddFileName, "/in/a.mkv");
}

TEST(Profile, ACodeThatIsNotLiveBuildsNothing) {
    Profile p;
    ASSERT_TRUE(buildProfile(p, 1100));
    EXPECT_FALSE(buildProfile(p, 15));
    EXPECT_EQ(p, Profile{});
    EXPECT_EQ(profileRow(-1), nullptr);
}

TEST(Profile, EveryLiveFormatHasOneRowThatAgreesWithTheCatalogue) {
    std::set<int> extDiffersFromTitle;
    std::set<int> fileExtDiffersFromName;
    for (int code : allFormatCodes()) {
        const ProfileRow* row = profileRow(code);
        ASSERT_NE(row, nullptr) << code;
        EXPECT_EQ(row->audioOnly, isAudioOnlyFormat(code)) << code;
        Profile p;
        const auto ext = buildProfile(p, code);
        ASSERT_TRUE(ext) << code;
        EXPECT_EQ(p.Video_AudioVolume, "256") << code;
        EXPECT_TRUE(p.Video_FileFormat.isEmpty() && p.Video_VideoFilters.isEmpty()) << code;
        if (*ext != FormatExtension(QString::fromUtf8(findFormat(code)->title)))
            extDiffersFromTitle.insert(code);
        if (p.Video_FileExt != *ext)
            fileExtDiffersFromName.insert(code);
    }
    // Only 2400 names its file differently from its title; seven rows set another container
    // extension than the name's, or none.
    EXPECT_EQ(extDiffersFromTitle, (std::set<int>{2400}));
    EXPECT_EQ(fileExtDiffersFromName, (std::set<int>{11, 12, 13, 14, 106, 1102, 1103}));
}

TEST(Profile, RowsThatDifferFromTheirNeighbours) {
    Profile p;
    EXPECT_EQ(buildProfile(p, 2400).value_or(""), ".avi");
    EXPECT_EQ(p.Video_FileExt, ".avi");
    EXPECT_EQ(p.Video_VideoCodec, "libx264");

    EXPECT_EQ(buildProfile(p, 106).value_or(""), ".ra");
    EXPECT_EQ(p.Video_FileExt, ".rm");
    EXPECT_TRUE(p.Video_DisableVideo);

    for (const auto& [code, target] :
         {std::pair{11, "dvd"}, std::pair{12, "svcd"}, std::pair{13, "vcd"}}) {
        EXPECT_EQ(buildProfile(p, code).value_or(""), ".mpg") << code;
        EXPECT_EQ(p.Video_TargetType, target) << code;
        EXPECT_EQ(p.Video_NormType, "PAL") << code;
        EXPECT_EQ(p.Video_AudioBitrate, -1000) << code;
        EXPECT_EQ(p.Video_VideoBitrate, -1000) << code;
        EXPECT_TRUE(p.Video_VideoCodec.isEmpty() && p.Video_AudioCodec.isEmpty() &&
                    p.Video_AudioChannels.isEmpty() && p.Video_AudioSampleRate.isEmpty() &&
                    p.Video_FileExt.isEmpty())
            << code;
    }

    // 14 sets the encoder and the size, nothing else.
    EXPECT_EQ(buildProfile(p, 14).value_or(""), ".rm");
    Profile only14;
    only14.Video_VideoCodec = "rv20";
    only14.Video_FrameSize = "320*240";
    EXPECT_EQ(p, only14);

    EXPECT_EQ(buildProfile(p, 1103).value_or(""), ".swf");
    EXPECT_TRUE(p.Video_FileExt.isEmpty());
    EXPECT_TRUE(p.Video_DisableVideo);
    EXPECT_EQ(p.Video_VideoBitrate, -1);
}

// Every container and encoder of the format catalogue, converted from small clips and judged
// by ffprobe: container, codecs, frame size, frame rate, display aspect, sample rate,
// channels and duration.

#include "EngineTestSupport.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace enginetest;
using engine::TOutputOptions;

namespace {

enum class Source { AudioVideo, AudioOnly };

struct FormatCase {
    const char* name;
    const char* outputName; // file name of the output (its extension may differ from FileExt)
    std::function<void(TOutputOptions&)> options;
    const char* format;     // ffprobe's format_name
    const char* videoCodec; // nullptr: no video stream expected
    int width, height;
    double fps;
    const char* aspect;     // display aspect; nullptr: not checked
    const char* audioCodec; // nullptr: no audio stream expected
    int sampleRate, channels;
    const char* videoTag = nullptr;
    Source source = Source::AudioVideo;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

// A record as the window builds it: profile fields, then the preset choices.
TOutputOptions record(const std::function<void(TOutputOptions&)>& fill) {
    TOutputOptions o;
    o.reset();
    o.AudioVolume = 256;
    fill(o);
    return o;
}

const FormatCase kCases[] = {
    {"flv_1100", "a.flv",
     [](TOutputOptions& o) {
         o.FileExt = ".flv"; o.AudioCodec = "libmp3lame"; o.AudioChannels = 2;
         o.AudioSampleRate = 22050; o.AudioBitrate = 128000; o.VideoBitrate = 816000;
         o.FrameRate = "25.00";
     },
     "flv", "flv1", 320, 240, 25, "4:3", "mp3", 22050, 2},
    {"swf_1101", "a.swf",
     [](TOutputOptions& o) {
         o.FileExt = ".swf"; o.AudioCodec = "libmp3lame"; o.AudioChannels = 2;
         o.AudioSampleRate = 22050; o.AudioBitrate = 128000; o.VideoBitrate = 528000;
         o.FrameRate = "25.00";
     },
     "swf", "flv1", 320, 240, 25, nullptr, "mp3", 22050, 2},
    {"flv_audio_1102", "a.flv",
     [](TOutputOptions& o) {
         o.AudioCodec = "libmp3lame"; o.AudioChannels = 2; o.AudioSampleRate = 22050;
         o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "flv", nullptr, 0, 0, 0, nullptr, "mp3", 22050, 2},
    {"avi_xvid_tag_0", "a.avi",
     [](TOutputOptions& o) {
         o.FileExt = ".avi"; o.VideoCodec = "mpeg4"; o.VideoTag = "XVID";
         o.AudioCodec = "libmp3lame"; o.AudioChannels = 2; o.AudioSampleRate = 44100;
         o.AudioBitrate = 128000; o.VideoBitrate = 816000; o.FrameRate = "25.00";
     },
     "avi", "mpeg4", 320, 240, 25, "4:3", "mp3", 44100, 2, "XVID"},
    {"avi_dx50_tag_2", "a.avi",
     [](TOutputOptions& o) {
         o.FileExt = ".avi"; o.VideoCodec = "mpeg4"; o.VideoTag = "DX50";
         o.AudioCodec = "libmp3lame"; o.AudioChannels = 2; o.AudioSampleRate = 44100;
         o.AudioBitrate = 128000; o.VideoBitrate = 1000000; o.FrameRate = "25.00";
     },
     "avi", "mpeg4", 320, 240, 25, "4:3", "mp3", 44100, 2, "DX50"},
    {"avi_libxvid_4", "a.avi",
     [](TOutputOptions& o) {
         o.FileExt = ".avi"; o.VideoCodec = "libxvid"; o.AudioCodec = "libmp3lame";
         o.AudioChannels = 2; o.AudioSampleRate = 44100; o.AudioBitrate = 128000;
         o.VideoBitrate = 1000000;
     },
     "avi", "mpeg4", 320, 240, 25, "4:3", "mp3", 44100, 2},
    {"avi_libx264_2400", "a.avi",
     [](TOutputOptions& o) {
         o.FileExt = ".avi"; o.VideoCodec = "libx264"; o.VideoPreset = "libx264-default";
         o.AudioCodec = "libmp3lame"; o.AudioChannels = 2; o.AudioSampleRate = 32000;
         o.AudioBitrate = 128000; o.VideoBitrate = 1000000; o.FrameRate = "25.00";
     },
     "avi", "h264", 320, 240, 25, "4:3", "mp3", 32000, 2},
    {"mp4_mpeg4_mp3_1", "a.mp4",
     [](TOutputOptions& o) {
         o.FileExt = ".mp4"; o.VideoCodec = "mpeg4"; o.AudioCodec = "libmp3lame";
         o.AudioChannels = 2; o.AudioSampleRate = 44100; o.AudioBitrate = 128000;
         o.VideoBitrate = 768000; o.FrameRate = "25.00";
     },
     "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", 320, 240, 25, "4:3", "mp3", 44100, 2},
    {"mp4_libx264_aac_2403", "a.mp4",
     [](TOutputOptions& o) {
         o.FileExt = ".mp4"; o.VideoCodec = "libx264"; o.VideoPreset = "libx264-default";
         o.AudioCodec = "libfaac"; o.AudioChannels = 2; o.AudioSampleRate = 48000;
         o.AudioBitrate = 128000; o.VideoBitrate = 1500000; o.FrameSize = "800*600";
         o.FrameRate = "29.97";
     },
     "mov,mp4,m4a,3gp,3g2,mj2", "h264", 800, 600, 29.97, "4:3", "aac", 48000, 2},
    {"mp4_wide_2502", "a.mp4",
     [](TOutputOptions& o) {
         o.FileExt = ".mp4"; o.VideoCodec = "mpeg4"; o.AudioCodec = "libfaac";
         o.AudioChannels = 2; o.AudioSampleRate = 48000; o.AudioBitrate = 128000;
         o.VideoBitrate = 1200000; o.FrameAspectRatio = "16:9";
     },
     "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", 320, 240, 25, "16:9", "aac", 48000, 2},
    {"mkv_aspect_37_20", "a.mkv",
     [](TOutputOptions& o) {
         o.FileExt = ".mkv";
         o.VideoCodec = "mpeg4";
         o.AudioCodec = "libmp3lame";
         o.FrameAspectRatio = "37:20";
     },
     "matroska,webm", "mpeg4", 320, 240, 25, "37:20", "mp3", 44100, 2},
    {"avi_aspect_47_20", "a.avi",
     [](TOutputOptions& o) {
         o.FileExt = ".avi";
         o.VideoCodec = "mpeg4";
         o.AudioCodec = "libmp3lame";
         o.FrameAspectRatio = "47:20";
     },
     "avi", "mpeg4", 320, 240, 25, "47:20", "mp3", 44100, 2},
    {"mov_default_video_3", "a.mov",
     [](TOutputOptions& o) {
         o.FileExt = ".mov"; o.AudioCodec = "libfaac"; o.AudioChannels = 2;
         o.AudioSampleRate = 48000; o.AudioBitrate = 128000; o.VideoBitrate = 816000;
         o.FrameRate = "25.00";
     },
     "mov,mp4,m4a,3gp,3g2,mj2", "h264", 320, 240, 25, "4:3", "aac", 48000, 2},
    {"mkv_5", "a.mkv",
     [](TOutputOptions& o) {
         o.FileExt = ".mkv"; o.VideoCodec = "mpeg4"; o.AudioCodec = "libmp3lame";
         o.AudioChannels = 2; o.AudioSampleRate = 44100; o.AudioBitrate = 128000;
         o.VideoBitrate = 1200000; o.FrameRate = "29.97";
     },
     "matroska,webm", "mpeg4", 320, 240, 29.97, "4:3", "mp3", 44100, 2},
    {"mkv_xvid_tag_2406", "a.mkv",
     [](TOutputOptions& o) {
         o.FileExt = ".mkv"; o.VideoCodec = "mpeg4"; o.VideoTag = "XVID";
         o.AudioCodec = "libmp3lame"; o.AudioChannels = 2; o.AudioSampleRate = 44100;
         o.AudioBitrate = 128000; o.VideoBitrate = 816000; o.FrameRate = "25.00";
     },
     "matroska,webm", "mpeg4", 320, 240, 25, "4:3", "mp3", 44100, 2},
    {"mpg_mpeg1video_6", "a.mpg",
     [](TOutputOptions& o) {
         o.FileExt = ".mpg"; o.VideoCodec = "mpeg1video"; o.AudioChannels = 2;
         o.AudioSampleRate = 44100; o.AudioBitrate = 128000; o.VideoBitrate = 816000;
         o.FrameSize = "320*240"; o.FrameRate = "25.00";
     },
     "mpeg", "mpeg1video", 320, 240, 25, "4:3", "mp2", 44100, 2},
    {"mpg_mpeg2video_7", "a.mpg",
     [](TOutputOptions& o) {
         o.FileExt = ".mpg"; o.VideoCodec = "mpeg2video"; o.AudioChannels = 2;
         o.AudioSampleRate = 44100; o.AudioBitrate = 128000; o.VideoBitrate = 816000;
         o.FrameSize = "640*480"; o.FrameRate = "29.97";
     },
     "mpeg", "mpeg2video", 640, 480, 29.97, "4:3", "mp2", 44100, 2},
    {"asf_msmpeg4_8", "a.asf",
     [](TOutputOptions& o) {
         o.FileExt = ".asf"; o.VideoCodec = "msmpeg4"; o.AudioCodec = "wmav2";
         o.AudioChannels = 2; o.AudioSampleRate = 48000; o.AudioBitrate = 128000;
         o.VideoBitrate = 816000;
     },
     "asf", "msmpeg4v3", 320, 240, 25, "4:3", "wmav2", 48000, 2},
    {"wmv_wmv2_10", "a.wmv",
     [](TOutputOptions& o) {
         o.FileExt = ".wmv"; o.VideoCodec = "wmv2"; o.AudioCodec = "wmav2";
         o.AudioChannels = 2; o.AudioSampleRate = 44100; o.AudioBitrate = 128000;
         o.VideoBitrate = 816000; o.FrameRate = "25.00";
     },
     "asf", "wmv2", 320, 240, 25, "4:3", "wmav2", 44100, 2},
    {"3gp_mpeg4_9", "a.3gp",
     [](TOutputOptions& o) {
         o.FileExt = ".3gp"; o.VideoCodec = "mpeg4"; o.AudioCodec = "libfaac";
         o.AudioChannels = 1; o.AudioSampleRate = 8000; o.AudioBitrate = 12000;
         o.VideoBitrate = 128000; o.FrameSize = "176*144"; o.FrameRate = "12";
         o.FrameAspectRatio = "4:3";
     },
     "mov,mp4,m4a,3gp,3g2,mj2", "mpeg4", 176, 144, 12, "4:3", "aac", 8000, 1},
    {"3gp_h263_2409", "a.3gp",
     [](TOutputOptions& o) {
         o.FileExt = ".3gp"; o.VideoCodec = "h263"; o.AudioCodec = "libfaac";
         o.AudioChannels = 2; o.AudioSampleRate = 32000; o.AudioBitrate = 48000;
         o.VideoBitrate = 128000; o.FrameSize = "176*144"; o.FrameRate = "12";
     },
     "mov,mp4,m4a,3gp,3g2,mj2", "h263", 176, 144, 12, nullptr, "aac", 32000, 2},
    {"rm_rv20_14", "a.rm",
     [](TOutputOptions& o) { o.VideoCodec = "rv20"; o.FrameSize = "320*240"; },
     "rm", "rv20", 320, 240, 25, nullptr, "ac3", 44100, 2},
    {"dvd_pal", "a.mpg",
     [](TOutputOptions& o) { o.TargetType = engine::ttDVD; o.NormType = engine::ntPAL; },
     "mpeg", "mpeg2video", 720, 576, 25, nullptr, "ac3", 48000, 2},
    {"dvd_ntsc", "a.mpg",
     [](TOutputOptions& o) { o.TargetType = engine::ttDVD; o.NormType = engine::ntNTSC; },
     "mpeg", "mpeg2video", 720, 480, 29.97, nullptr, "ac3", 48000, 2},
    {"svcd_pal", "a.mpg",
     [](TOutputOptions& o) { o.TargetType = engine::ttSVCD; o.NormType = engine::ntPAL; },
     "mpeg", "mpeg2video", 480, 576, 25, nullptr, "mp2", 44100, 2},
    {"svcd_ntsc", "a.mpg",
     [](TOutputOptions& o) { o.TargetType = engine::ttSVCD; o.NormType = engine::ntNTSC; },
     "mpeg", "mpeg2video", 480, 480, 29.97, nullptr, "mp2", 44100, 2},
    {"vcd_pal", "a.mpg",
     [](TOutputOptions& o) { o.TargetType = engine::ttVCD; o.NormType = engine::ntPAL; },
     "mpeg", "mpeg1video", 352, 288, 25, nullptr, "mp2", 44100, 2},
    {"vcd_ntsc", "a.mpg",
     [](TOutputOptions& o) { o.TargetType = engine::ttVCD; o.NormType = engine::ntNTSC; },
     "mpeg", "mpeg1video", 352, 240, 29.97, nullptr, "mp2", 44100, 2},
    // Code 13 with its default presets: the explicit fields override the target's values.
    {"vcd_pal_presets_13", "a.mpg",
     [](TOutputOptions& o) {
         o.TargetType = engine::ttVCD; o.NormType = engine::ntPAL; o.FrameSize = "320*240";
         o.VideoBitrate = 528000; o.FrameRate = "25.00"; o.AudioBitrate = 128000;
         o.AudioSampleRate = 44100;
     },
     "mpeg", "mpeg1video", 320, 240, 25, nullptr, "mp2", 44100, 2},
    {"dvd_auto_norm_from_25fps", "a.mpg",
     [](TOutputOptions& o) { o.TargetType = engine::ttDVD; },
     "mpeg", "mpeg2video", 720, 576, 25, nullptr, "ac3", 48000, 2},
    {"mp3_100", "a.mp3",
     [](TOutputOptions& o) {
         o.FileExt = ".mp3"; o.AudioCodec = "libmp3lame"; o.AudioChannels = 2;
         o.AudioSampleRate = 48000; o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "mp3", nullptr, 0, 0, 0, nullptr, "mp3", 48000, 2},
    {"wma_101", "a.wma",
     [](TOutputOptions& o) {
         o.FileExt = ".wma"; o.AudioCodec = "wmav2"; o.AudioChannels = 2;
         o.AudioSampleRate = 48000; o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "asf", nullptr, 0, 0, 0, nullptr, "wmav2", 48000, 2},
    {"wav_default_codec_102", "a.wav",
     [](TOutputOptions& o) {
         o.FileExt = ".wav"; o.AudioChannels = 2; o.AudioSampleRate = 48000;
         o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "wav", nullptr, 0, 0, 0, nullptr, "pcm_s16le", 48000, 2},
    {"aac_103", "a.aac",
     [](TOutputOptions& o) {
         o.FileExt = ".aac"; o.AudioCodec = "libfaac"; o.AudioChannels = 2;
         o.AudioSampleRate = 48000; o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "aac", nullptr, 0, 0, 0, nullptr, "aac", 48000, 2},
    {"m4a_default_codec_104", "a.m4a",
     [](TOutputOptions& o) {
         o.FileExt = ".m4a"; o.AudioChannels = 2; o.AudioSampleRate = 44100;
         o.AudioBitrate = 112000; o.DisableVideo = true;
     },
     "mov,mp4,m4a,3gp,3g2,mj2", nullptr, 0, 0, 0, nullptr, "aac", 44100, 2},
    {"ogg_105", "a.ogg",
     [](TOutputOptions& o) {
         o.FileExt = ".ogg"; o.AudioCodec = "libvorbis"; o.AudioChannels = 2;
         o.AudioSampleRate = 48000; o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "ogg", nullptr, 0, 0, 0, nullptr, "vorbis", 48000, 2},
    // The file is named .ra while the record's extension says .rm.
    {"ra_106", "a.ra",
     [](TOutputOptions& o) {
         o.FileExt = ".rm"; o.AudioChannels = 2; o.AudioSampleRate = 48000;
         o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "rm", nullptr, 0, 0, 0, nullptr, "ac3", 48000, 2},
    {"ac3_107", "a.ac3",
     [](TOutputOptions& o) {
         o.FileExt = ".ac3"; o.AudioCodec = "ac3"; o.AudioChannels = 2;
         o.AudioSampleRate = 48000; o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "ac3", nullptr, 0, 0, 0, nullptr, "ac3", 48000, 2},
    {"aiff_default_codec_108", "a.aiff",
     [](TOutputOptions& o) {
         o.FileExt = ".aiff"; o.AudioChannels = 2; o.AudioSampleRate = 48000;
         o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "aiff", nullptr, 0, 0, 0, nullptr, "pcm_s16be", 48000, 2},
    {"mp2_default_codec_109", "a.mp2",
     [](TOutputOptions& o) {
         o.FileExt = ".mp2"; o.AudioChannels = 2; o.AudioSampleRate = 44100;
         o.AudioBitrate = 128000; o.DisableVideo = true;
     },
     "mp3", nullptr, 0, 0, 0, nullptr, "mp2", 44100, 2},
    {"flac_110", "a.flac",
     [](TOutputOptions& o) {
         o.FileExt = ".flac"; o.AudioCodec = "flac"; o.AudioChannels = 2;
         o.AudioSampleRate = 48000; o.AudioBitrate = 192000; o.DisableVideo = true;
     },
     "flac", nullptr, 0, 0, 0, nullptr, "flac", 48000, 2},
    {"amr_112", "a.amr",
     [](TOutputOptions& o) {
         o.FileExt = ".amr"; o.AudioCodec = "libopencore_amrnb"; o.AudioChannels = 1;
         o.AudioSampleRate = 8000; o.AudioBitrate = 7400; o.DisableVideo = true;
     },
     "amr", nullptr, 0, 0, 0, nullptr, "amr_nb", 8000, 1},
    // A video format from a source with sound only gives a file with sound only.
    {"flv_from_audio_only_source", "a.flv",
     [](TOutputOptions& o) {
         o.FileExt = ".flv"; o.AudioCodec = "libmp3lame"; o.AudioChannels = 2;
         o.AudioSampleRate = 22050; o.AudioBitrate = 128000; o.VideoBitrate = 816000;
         o.FrameRate = "25.00";
     },
     "flv", nullptr, 0, 0, 0, nullptr, "mp3", 22050, 2, nullptr, Source::AudioOnly},
    {"mp4_from_audio_only_source", "a.mp4",
     [](TOutputOptions& o) {
         o.FileExt = ".mp4"; o.VideoCodec = "mpeg4"; o.AudioCodec = "libfaac";
         o.AudioChannels = 2; o.AudioSampleRate = 48000; o.AudioBitrate = 128000;
     },
     "mov,mp4,m4a,3gp,3g2,mj2", nullptr, 0, 0, 0, nullptr, "aac", 48000, 2, nullptr,
     Source::AudioOnly},
};

QString squareAspect(int w, int h) {
    int a = w, b = h;
    while (b) {
        const int t = a % b;
        a = b;
        b = t;
    }
    return a ? QStringLiteral("%1:%2").arg(w / a).arg(h / a) : QString();
}

class FormatTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTable, ConvertsToWhatTheRecordAsks) {
    const FormatCase& c = GetParam();
    const QString dir = workDir() + QStringLiteral("/format-") + c.name;
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString input = c.source == Source::AudioOnly ? audioOnlyClip() : avClip();
    const QString output = dir + '/' + c.outputName;
    const auto result = convert(input, output, record(c.options));
    ASSERT_TRUE(result.has_value()) << "no termination report";
    ASSERT_TRUE(result->Finished) << result->ExceptionMsg.toStdString();
    EXPECT_FALSE(result->Exception);
    EXPECT_EQ(filesIn(dir), QStringList{c.outputName}) << "only the finished file is left";

    const Probed p = probe(output, c.videoCodec != nullptr);
    ASSERT_TRUE(p.ok) << "ffprobe cannot read the result";
    EXPECT_EQ(p.format, c.format);

    double duration = p.duration;
    if (QByteArray(c.format) == "swf" && p.videoFrames > 0)
        duration = p.videoFrames / c.fps; // swf keeps no duration; its frames tell it
    EXPECT_NEAR(duration, 2.0, 0.2) << "container duration";

    if (c.videoCodec) {
        ASSERT_TRUE(p.hasVideo);
        EXPECT_EQ(p.videoCodec, c.videoCodec);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        EXPECT_NEAR(p.fps, c.fps, 0.02);
        // Every frame of the 2-second source reaches the file, the last one included.
        const int frames = static_cast<int>(std::ceil(2.0 * c.fps - 0.01));
        EXPECT_GE(p.videoFrames, frames);
        EXPECT_LE(p.videoFrames, frames + 1);
        if (c.aspect) {
            // Containers and codecs that store no pixel aspect (flv1) mean square pixels.
            const QString shown =
                p.displayAspect.isEmpty() ? squareAspect(p.width, p.height) : p.displayAspect;
            EXPECT_EQ(shown, c.aspect);
        }
        if (c.videoTag) {
            EXPECT_EQ(p.videoTag, c.videoTag);
        }
    } else {
        EXPECT_FALSE(p.hasVideo) << "unexpected video stream " << p.videoCodec.toStdString();
    }
    if (c.audioCodec) {
        ASSERT_TRUE(p.hasAudio);
        EXPECT_EQ(p.audioCodec, c.audioCodec);
        EXPECT_EQ(p.sampleRate, c.sampleRate);
        EXPECT_EQ(p.channels, c.channels);
    } else {
        EXPECT_FALSE(p.hasAudio);
    }
    // Picture and sound start together and last as long. Containers without edit lists
    // shift both streams by the audio encoder's priming samples (at most 60 ms here), as
    // the ffmpeg program's output does.
    if (c.videoCodec && c.audioCodec) {
        EXPECT_NEAR(p.videoStart, p.audioStart, 1.0 / c.fps + 0.06);
        if (p.videoDuration > 0 && p.audioDuration > 0) {
            EXPECT_NEAR(p.videoDuration, p.audioDuration, 0.15);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, FormatTable, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FormatCase>& param) {
                             return std::string(param.param.name);
                         });

} // namespace

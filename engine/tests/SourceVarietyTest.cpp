// Sources of every shape (odd sizes, variable frame rate, 5.1 and mono sound, sound that starts
// late, no sound at all, a raw stream without timestamps) and the option fields that shape the
// result (nearest supported values, volume, the record's own filters), each judged by ffprobe.

#include "EngineTestSupport.h"
#include "QtPrinters.h"
#include "TestMedia.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

using namespace enginetest;
using namespace engine;

namespace {

QString oddClip() {
    return clip("odd.mkv",
                {"-f", "lavfi", "-i", "testsrc2=size=160x120:rate=25:duration=1", "-f", "lavfi",
                 "-i", "sine=sample_rate=44100:duration=1", "-vf", "scale=161:121", "-pix_fmt",
                 "yuv420p", "-c:v", "ffv1", "-c:a", "flac", "-shortest"});
}

// Frames 0-30 keep only two of every five, so their spacing changes; then all frames.
QString vfrClip() {
    return clip("vfr.mkv", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2", "-f",
                            "lavfi", "-i", "sine=sample_rate=44100:duration=2", "-vf",
                            "select='lt(mod(n\\,5)\\,2)+gt(n\\,30)'", "-fps_mode", "vfr", "-c:v",
                            "libx264", "-preset", "ultrafast", "-c:a", "flac"});
}

QString surroundClip() {
    return clip("surround.mkv", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2",
                                 "-f", "lavfi", "-i", "sine=sample_rate=48000:duration=2", "-ac",
                                 "6", "-c:v", "libx264", "-preset", "ultrafast", "-c:a", "flac"});
}

QString monoClip() {
    return clip("mono.mp3", {"-f", "lavfi", "-i", "sine=sample_rate=22050:duration=2", "-ac", "1"});
}

// The sound begins half a second after the picture.
QString lateAudioClip() {
    return clip("late-audio.mkv",
                {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2", "-itsoffset",
                 "0.5", "-f", "lavfi", "-i", "sine=sample_rate=44100:duration=1.5", "-c:v",
                 "libx264", "-preset", "ultrafast", "-c:a", "flac"});
}

// 37 frames: an odd count that an encoder with delayed frames keeps only through its flush.
QString thirtySevenFrames() {
    return clip("frames37.mkv", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=1.48",
                                 "-c:v", "ffv1"});
}

// A raw H.264 stream: no container, so no presentation times and no duration.
QString rawH264() {
    return clip("raw.h264", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2",
                             "-c:v", "libx264", "-preset", "ultrafast"});
}

double meanVolume(const QString& path) {
    QProcess p;
    p.start("ffmpeg",
            {"-hide_banner", "-nostats", "-i", path, "-af", "volumedetect", "-f", "null", "-"});
    p.waitForFinished(60000);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    const auto m = QRegularExpression(R"(mean_volume:\s*(-?[\d.]+) dB)").match(err);
    return m.hasMatch() ? m.captured(1).toDouble() : 0;
}

// Where the sound of a file begins (end of the leading silence), as ffmpeg hears it.
double soundStartsAt(const QString& path) {
    QProcess p;
    p.start("ffmpeg", {"-hide_banner", "-nostats", "-i", path, "-map", "0:a", "-af",
                       "silencedetect=n=-40dB:d=0.1", "-f", "null", "-"});
    p.waitForFinished(60000);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (!err.contains("silence_start: 0"))
        return 0; // no silence at the start
    const auto m = QRegularExpression(R"(silence_end:\s*(-?[\d.]+))").match(err);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

struct VarietyCase {
    const char* name;
    std::function<QString()> source;
    const char* outputName;
    std::function<void(TOutputOptions&)> options;
    std::function<void(const Probed&, const QString& output)> check;
};

void PrintTo(const VarietyCase& c, std::ostream* os) {
    *os << c.name;
}

const VarietyCase kCases[] = {
    {"odd_size_to_flv_gets_even_size", oddClip, "a.flv",
     [](TOutputOptions& o) {
         o.FileExt = ".flv";
         o.AudioSampleRate = 22050;
     },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.width, 162);
         EXPECT_EQ(p.height, 122);
         EXPECT_EQ(p.videoFrames, 25);
     }},
    {"odd_size_to_rv20_gets_multiple_of_four", oddClip, "a.rm",
     [](TOutputOptions& o) { o.VideoCodec = "rv20"; },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.videoCodec, "rv20");
         EXPECT_EQ(p.width % 4, 0);
         EXPECT_EQ(p.height % 4, 0);
         EXPECT_NEAR(p.width, 161, 2);
         EXPECT_NEAR(p.height, 121, 2);
     }},
    {"odd_size_to_libx264", oddClip, "a.mp4",
     [](TOutputOptions& o) {
         o.VideoCodec = "libx264";
         o.VideoPreset = "libx264-default";
     },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.videoCodec, "h264");
         EXPECT_EQ(p.width % 2, 0);
         EXPECT_EQ(p.height % 2, 0);
     }},
    {"variable_rate_becomes_constant", vfrClip, "a.avi",
     [](TOutputOptions& o) {
         o.VideoCodec = "mpeg4";
         o.FrameRate = "25";
     },
     [](const Probed& p, const QString&) {
         EXPECT_NEAR(p.fps, 25, 0.01);
         EXPECT_NEAR(p.videoFrames, 50, 1) << "gaps are filled with repeated frames";
         EXPECT_NEAR(p.audioDuration, p.videoDuration, 0.1);
     }},
    {"variable_rate_kept_rate", vfrClip, "a.mp4", [](TOutputOptions& o) { o.VideoCodec = "mpeg4"; },
     [](const Probed& p, const QString&) {
         EXPECT_GT(p.fps, 0);
         EXPECT_NEAR(p.duration, 2.0, 0.2);
     }},
    {"surround_to_mp3_is_stereo", surroundClip, "a.mp3",
     [](TOutputOptions& o) {
         o.DisableVideo = true;
         o.AudioCodec = "libmp3lame";
     },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.channels, 2) << "libmp3lame takes at most two channels";
         EXPECT_EQ(p.sampleRate, 48000);
     }},
    {"surround_to_ac3_keeps_six_channels", surroundClip, "a.ac3",
     [](TOutputOptions& o) { o.DisableVideo = true; },
     [](const Probed& p, const QString&) { EXPECT_EQ(p.channels, 6); }},
    {"surround_to_wma_is_stereo", surroundClip, "a.wma",
     [](TOutputOptions& o) { o.DisableVideo = true; },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.audioCodec, "wmav2");
         EXPECT_EQ(p.channels, 2);
     }},
    {"mono_to_stereo_flv", monoClip, "a.flv",
     [](TOutputOptions& o) {
         o.AudioChannels = 2;
         o.AudioSampleRate = 22050;
     },
     [](const Probed& p, const QString&) {
         EXPECT_FALSE(p.hasVideo);
         EXPECT_EQ(p.channels, 2);
         EXPECT_EQ(p.sampleRate, 22050);
     }},
    {"flv_mp3_rate_snaps_to_flash_rates", monoClip, "b.flv",
     [](TOutputOptions& o) {
         o.AudioSampleRate = 48000;
         o.AudioCodec = "libmp3lame";
     },
     [](const Probed& p, const QString&) { EXPECT_EQ(p.sampleRate, 44100); }},
    {"amr_takes_8000_mono_only", [] { return avClip(); }, "a.amr",
     [](TOutputOptions& o) {
         o.DisableVideo = true;
         o.AudioCodec = "libopencore_amrnb";
         o.AudioSampleRate = 44100;
         o.AudioChannels = 2;
         o.AudioBitrate = 12200;
     },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.sampleRate, 8000);
         EXPECT_EQ(p.channels, 1);
     }},
    // avi stores no audio timestamps: without filling from time zero the sound would play
    // half a second early.
    {"late_sound_is_padded_from_zero_in_avi", lateAudioClip, "a.avi",
     [](TOutputOptions& o) {
         o.VideoCodec = "mpeg4";
         o.AudioCodec = "libmp3lame";
     },
     [](const Probed& p, const QString& output) {
         EXPECT_NEAR(p.audioDuration, 2.0, 0.1);
         EXPECT_NEAR(p.videoDuration, 2.0, 0.05);
         EXPECT_NEAR(soundStartsAt(output), 0.5, 0.06);
     }},
    {"video_only_source_to_mp4", [] { return videoOnlyClip(); }, "a.mp4",
     [](TOutputOptions& o) {
         o.VideoCodec = "mpeg4";
         o.AudioCodec = "libfaac";
     },
     [](const Probed& p, const QString&) {
         EXPECT_TRUE(p.hasVideo);
         EXPECT_FALSE(p.hasAudio);
         EXPECT_EQ(p.videoFrames, 50);
     }},
    {"raw_stream_without_timestamps_keeps_every_frame", rawH264, "raw.flv",
     [](TOutputOptions& o) { o.FileExt = ".flv"; },
     [](const Probed& p, const QString&) { EXPECT_EQ(p.videoFrames, 50); }},
    {"flush_keeps_every_delayed_frame", thirtySevenFrames, "a.mkv",
     [](TOutputOptions& o) {
         o.VideoCodec = "libx264";
         o.VideoPreset = "libx264-default";
     },
     [](const Probed& p, const QString&) { EXPECT_EQ(p.videoFrames, 37); }},
    {"own_filters_decide_the_size", [] { return avClip(); }, "crop.avi",
     [](TOutputOptions& o) {
         o.VideoCodec = "mpeg4";
         o.VideoFilters = "crop=160:120:0:0";
     },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.width, 160);
         EXPECT_EQ(p.height, 120);
     }},
    {"frame_size_after_own_filters", [] { return avClip(); }, "crop-scaled.avi",
     [](TOutputOptions& o) {
         o.VideoCodec = "mpeg4";
         o.VideoFilters = "crop=160:120:0:0";
         o.FrameSize = "352*288";
     },
     [](const Probed& p, const QString&) {
         EXPECT_EQ(p.width, 352);
         EXPECT_EQ(p.height, 288);
     }},
};

class SourceVariety : public ::testing::TestWithParam<VarietyCase> {};

TEST_P(SourceVariety, Converts) {
    const VarietyCase& c = GetParam();
    const QString dir = workDir() + QStringLiteral("/variety-") + c.name;
    ASSERT_TRUE(QDir().mkpath(dir));
    TOutputOptions o;
    o.AudioVolume = 256;
    c.options(o);
    const QString output = dir + '/' + c.outputName;
    const auto result = convert(c.source(), output, o);
    ASSERT_TRUE(result.has_value());
    ASSERT_TRUE(result->Finished) << result->ExceptionMsg.toStdString();
    const Probed p = probe(output, true);
    ASSERT_TRUE(p.ok);
    c.check(p, output);
}

INSTANTIATE_TEST_SUITE_P(Sources, SourceVariety, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<VarietyCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(Options, VolumeScalesTheSoundWith256AsUnchanged) {
    const QString dir = workDir() + "/volume";
    ASSERT_TRUE(QDir().mkpath(dir));
    double level[2] = {};
    const int volumes[2] = {256, 64};
    for (int i = 0; i < 2; ++i) {
        TOutputOptions o;
        o.DisableVideo = true;
        o.AudioVolume = volumes[i];
        const QString out = dir + QStringLiteral("/v%1.wav").arg(volumes[i]);
        const auto r = convert(audioOnlyClip(), out, o);
        ASSERT_TRUE(r && r->Finished);
        level[i] = meanVolume(out);
    }
    EXPECT_NEAR(level[0], meanVolume(audioOnlyClip()), 0.3) << "256 leaves the sound as it is";
    EXPECT_NEAR(level[0] - level[1], 12.04, 0.5) << "a quarter of the amplitude is 12 dB less";
}

TEST(Options, WhatCannotBeMadeEndsWithAClearError) {
    const struct {
        const char* name;
        QString source;
        std::function<void(TOutputOptions&)> options;
        const char* mentioned;
    } cases[] = {
        {"sound format from a silent video", videoOnlyClip(),
         [](TOutputOptions& o) {
             o.FileExt = ".mp3";
             o.DisableVideo = true;
         },
         "没有音频"},
        {"h263 at a size it cannot take", avClip(),
         [](TOutputOptions& o) {
             o.FileExt = ".3gp";
             o.VideoCodec = "h263";
             o.FrameSize = "320*240";
         },
         "176*144"},
        {"h263 keeping a source size it cannot take", avClip(),
         [](TOutputOptions& o) {
             o.FileExt = ".3gp";
             o.VideoCodec = "h263";
         },
         "320*240"},
        {"filter that does not exist", avClip(),
         [](TOutputOptions& o) {
             o.FileExt = ".avi";
             o.VideoFilters = "nosuchfilter=1";
         },
         "nosuchfilter"},
        {"filter that lets no picture through", avClip(),
         [](TOutputOptions& o) {
             o.FileExt = ".avi";
             o.VideoFilters = "select=0";
         },
         "没有写出任何视频画面"},
    };
    for (const auto& c : cases) {
        const QString dir = workDir() + "/cannot-" + QString::fromUtf8(c.name).replace(' ', '-');
        ASSERT_TRUE(QDir().mkpath(dir));
        TOutputOptions o;
        c.options(o);
        const auto r = convert(c.source, dir + "/out" + o.FileExt, o);
        ASSERT_TRUE(r.has_value()) << c.name;
        EXPECT_TRUE(r->Exception) << c.name;
        EXPECT_TRUE(r->ExceptionMsg.contains(QString::fromUtf8(c.mentioned)))
            << c.name << ": " << r->ExceptionMsg.toStdString();
        EXPECT_TRUE(filesIn(dir).isEmpty()) << c.name;
    }
}

} // namespace

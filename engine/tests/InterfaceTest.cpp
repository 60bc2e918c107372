// The component's interface without long conversions: probe, task set-up and its refusals,
// library check, logger, and how reports reach the owner's thread.

#include "EngineLog.h"
#include "EngineTestSupport.h"
#include "FFmpegVCL.h"
#include "LibraryVersions.h"
#include "QtPrinters.h"
#include "ThreadPriority.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

using namespace enginetest;
using namespace engine;

namespace {

TOutputOptions flvRecord() {
    TOutputOptions o;
    o.FileExt = ".flv";
    o.AudioCodec = "libmp3lame";
    o.AudioSampleRate = 22050;
    o.FrameRate = "25";
    return o;
}

TEST(Probe, DescribesAMediaFile) {
    TAVProbe probe;
    const QString clipPath = avClip();
    ASSERT_TRUE(probe.LoadFile(clipPath)) << probe.LastErrMsg().toStdString();
    EXPECT_NEAR(probe.FileStreamInfo(), 2'000'000, 50'000);
    EXPECT_EQ(probe.FileSize(), QFileInfo(clipPath).size());
    const QString text = probe.FileInfoText();
    EXPECT_GE(text.count('\n'), 3) << "container line and one line per stream";
    for (const char* part : {"matroska", "h264", "320x240", "flac", "44100"})
        EXPECT_TRUE(text.contains(part)) << part << " missing from\n" << text.toStdString();
    EXPECT_TRUE(probe.LastErrMsg().isEmpty());
}

TEST(Probe, RefusesWhatIsNotMedia) {
    const QString cases[] = {
        writeFile("empty.mp4", {}),
        writeFile("text.mp4", "This is a shopping list, not a film.\nMilk\nBread\n"),
        workDir() + "/missing.avi",
    };
    for (const QString& path : cases) {
        TAVProbe probe;
        EXPECT_FALSE(probe.LoadFile(path)) << path.toStdString();
        EXPECT_TRUE(probe.LastErrMsg().contains(QFileInfo(path).fileName()))
            << probe.LastErrMsg().toStdString();
        EXPECT_TRUE(probe.FileInfoText().isEmpty());
        EXPECT_LE(probe.FileStreamInfo(), 0);
    }
    // After a failure a good file loads again.
    TAVProbe probe;
    EXPECT_FALSE(probe.LoadFile(cases[1]));
    EXPECT_TRUE(probe.LoadFile(audioOnlyClip()));
    EXPECT_TRUE(probe.LastErrMsg().isEmpty());
}

TEST(Tasks, AddTaskGivesIndexesAndRefusesNonMedia) {
    TFFmpegVCL vcl;
    EXPECT_EQ(vcl.AddTask(avClip(), {}), 0);
    EXPECT_EQ(vcl.AddTask(audioOnlyClip(), {}), 1);
    const QString text = writeFile("notes.mp4", "not a film");
    EXPECT_EQ(vcl.AddTask(text, {}), -1);
    EXPECT_TRUE(vcl.LastErrMsg().contains("notes.mp4")) << vcl.LastErrMsg().toStdString();
    EXPECT_EQ(vcl.AddTask(workDir() + "/gone.mkv", {}), -1);
    TInputOptions forced;
    forced.FileFormat = "nosuchdemuxer";
    EXPECT_EQ(vcl.AddTask(avClip(), forced), -1);
    EXPECT_EQ(vcl.TaskCount(), 2);

    EXPECT_TRUE(vcl.RemoveTask(0));
    EXPECT_FALSE(vcl.RemoveTask(5));
    EXPECT_EQ(vcl.TaskCount(), 1);
    EXPECT_EQ(vcl.AddTask(avClip(), {}), 1);
    vcl.ClearTasks();
    EXPECT_EQ(vcl.TaskCount(), 0);
    EXPECT_EQ(vcl.AddTask(avClip(), {}), 0);
}

struct Refusal {
    const char* name;
    std::function<void(TOutputOptions&)> change;
    const char* outputName;
    const char* mentioned; // a word the message must contain
};

TEST(Tasks, SetOutputFileRefusesOptionsThatCannotWork) {
    const Refusal refusals[] = {
        {"unknown video encoder", [](TOutputOptions& o) { o.VideoCodec = "nosuchcodec"; }, "a.flv",
         "nosuchcodec"},
        {"unknown audio encoder", [](TOutputOptions& o) { o.AudioCodec = "libfoo"; }, "a.flv",
         "libfoo"},
        {"audio name as video encoder", [](TOutputOptions& o) { o.VideoCodec = "aac"; }, "a.flv",
         "aac"},
        {"unknown extension", [](TOutputOptions& o) { o.FileExt = ".xyz"; }, "a.xyz", "xyz"},
        {"unknown extension of the name", [](TOutputOptions& o) { o.FileExt.clear(); }, "a.qqq",
         "qqq"},
        {"unknown muxer", [](TOutputOptions& o) { o.FileFormat = "nosuchmuxer"; }, "a.flv",
         "nosuchmuxer"},
        {"encoder the container cannot hold",
         [](TOutputOptions& o) {
             o.FileExt = ".mp4";
             o.AudioCodec = "wmav2";
         },
         "a.mp4", "wmav2"},
        {"bad frame size", [](TOutputOptions& o) { o.FrameSize = "big"; }, "a.flv", "big"},
        {"bad frame rate", [](TOutputOptions& o) { o.FrameRate = "fast"; }, "a.flv", "fast"},
        {"bad aspect", [](TOutputOptions& o) { o.FrameAspectRatio = "wide"; }, "a.flv", "wide"},
        {"bad tag", [](TOutputOptions& o) { o.VideoTag = "TOOLONG"; }, "a.avi", "TOOLONG"},
    };
    TFFmpegVCL vcl;
    ASSERT_EQ(vcl.AddTask(avClip(), {}), 0);
    for (const Refusal& r : refusals) {
        TOutputOptions o = flvRecord();
        r.change(o);
        EXPECT_FALSE(vcl.SetOutputFile(0, workDir() + '/' + r.outputName, o)) << r.name;
        EXPECT_TRUE(vcl.LastErrMsg().contains(r.mentioned))
            << r.name << ": " << vcl.LastErrMsg().toStdString();
    }
    EXPECT_FALSE(vcl.SetOutputFile(3, workDir() + "/a.flv", flvRecord()));
    EXPECT_FALSE(vcl.SetOutputFile(0, "", flvRecord()));

    // The catalogue's names that stand for other encoders are accepted.
    TOutputOptions faac = flvRecord();
    faac.FileExt = ".mp4";
    faac.AudioCodec = "libfaac";
    faac.VideoCodec = "libx264";
    faac.VideoPreset = "libx264-default";
    EXPECT_TRUE(vcl.SetOutputFile(0, workDir() + "/a.mp4", faac)) << vcl.LastErrMsg().toStdString();
    TOutputOptions audioAuto = flvRecord();
    audioAuto.AudioCodec = "AUTO";
    EXPECT_TRUE(vcl.SetOutputFile(0, workDir() + "/b.flv", audioAuto));
}

TEST(Tasks, OutputThatIsTheInputIsRefusedInAnySpelling) {
    const QString dir = workDir() + "/same";
    ASSERT_TRUE(QDir().mkpath(dir + "/sub"));
    const QString input = dir + "/in.flv";
    ASSERT_TRUE(QFile::copy(avClip(), input));
    ASSERT_TRUE(QFile::link(input, dir + "/link.flv"));
    ASSERT_EQ(::link(QFile::encodeName(input).constData(),
                     QFile::encodeName(dir + "/hard.flv").constData()),
              0);
    const QByteArray before = checksum(input);

    const QString spellings[] = {input, dir + "/./in.flv", dir + "/sub/../in.flv",
                                 dir + "/link.flv", dir + "/hard.flv"};
    TFFmpegVCL vcl;
    ASSERT_EQ(vcl.AddTask(input, {}), 0);
    for (const QString& out : spellings) {
        EXPECT_FALSE(vcl.SetOutputFile(0, out, flvRecord())) << out.toStdString();
        EXPECT_TRUE(vcl.LastErrMsg().contains(QStringLiteral("输入文件")))
            << vcl.LastErrMsg().toStdString();
    }
    // Started anyway, the task fails and writes nothing.
    RunRecorder rec(vcl);
    vcl.Start(1);
    ASSERT_TRUE(rec.waitForFinal(20000));
    const auto t = rec.termination(0);
    ASSERT_TRUE(t.has_value());
    EXPECT_TRUE(t->Exception);
    EXPECT_FALSE(t->Finished);
    EXPECT_TRUE(t->ExceptionMsg.contains("hard.flv")) << t->ExceptionMsg.toStdString();
    EXPECT_EQ(checksum(input), before);
    QStringList expected{"hard.flv", "in.flv", "link.flv"};
    EXPECT_EQ(filesIn(dir), expected);
}

TEST(Library, LoadChecksTheRunningVersions) {
    TFFmpegVCL vcl;
    EXPECT_FALSE(vcl.AVLibLoaded());
    EXPECT_TRUE(vcl.LoadAVLib(QStringLiteral("LibAV"))) << vcl.LastErrMsg().toStdString();
    EXPECT_TRUE(vcl.AVLibLoaded());

    const LibraryVersion wrong[] = {{"libavutil", 57, AV_VERSION_INT(57, 28, 100)},
                                    {"libavcodec", 59, AV_VERSION_INT(60, 3, 100)}};
    const QString text = libraryVersionMismatch(wrong);
    EXPECT_TRUE(text.contains("libavcodec")) << text.toStdString();
    EXPECT_TRUE(text.contains("60.3.100"));
    EXPECT_TRUE(text.contains("59"));
    EXPECT_FALSE(text.contains("libavutil"));
    EXPECT_TRUE(libraryVersionMismatch(std::span(wrong, 1)).isEmpty());
}

struct LogLine {
    quint64 thread;
    int level;
    QString message;
    bool onMainThread;
};

TEST(Logger, DeliversFFmpegAndEngineLinesOnItsThreadInOrder) {
    const int oldLevel = av_log_get_level();
    av_log_set_level(AV_LOG_INFO);
    std::vector<LogLine> lines;
    {
        TFFLogger logger;
        QObject::connect(&logger, &TFFLogger::OnLog,
                         [&lines](quint64 thread, int level, const QString& message) {
                             lines.push_back({thread, level, message,
                                              QThread::currentThread() ==
                                                  QCoreApplication::instance()->thread()});
                         });
        quint64 writer = 0;
        std::thread t([&writer] {
            writer = currentThreadNumber();
            av_log(nullptr, AV_LOG_WARNING, "first %s", "part");
            av_log(nullptr, AV_LOG_WARNING, " and the rest\n");
            av_log(nullptr, AV_LOG_ERROR, "an error\n");
            av_log(nullptr, AV_LOG_DEBUG, "too detailed\n"); // above the level: dropped
            enginelog::write(llInfo, QStringLiteral("引擎自己的一行"));
        });
        t.join();
        waitUntil([&lines] { return lines.size() >= 3; }, 5000);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0].message, "first part and the rest");
        EXPECT_EQ(lines[0].level, llWarning);
        EXPECT_EQ(lines[1].message, "an error");
        EXPECT_EQ(lines[1].level, llError);
        EXPECT_EQ(lines[2].message, QStringLiteral("引擎自己的一行"));
        EXPECT_EQ(lines[2].level, llInfo);
        for (const LogLine& l : lines) {
            EXPECT_EQ(l.thread, writer);
            EXPECT_TRUE(l.onMainThread);
        }
    }
    // Without a logger FFmpeg's lines go their usual way and nothing breaks.
    av_log(nullptr, AV_LOG_INFO, "after the logger\n");
    av_log_set_level(oldLevel);
}

TEST(Logger, LevelsFollowFFmpegs) {
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_QUIET), llQuiet);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_PANIC), llPanic);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_FATAL), llFatal);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_ERROR), llError);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_WARNING), llWarning);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_INFO), llInfo);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_VERBOSE), llVerbose);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_DEBUG), llDebug);
    EXPECT_EQ(enginelog::fromAvLevel(AV_LOG_TRACE), llDebug);
}

TEST(Reports, ArriveOnTheOwnersThreadWithPreviewOnlyWhenAskedFor) {
    for (const bool preview : {true, false}) {
        TFFmpegVCL vcl;
        RunRecorder rec(vcl);
        vcl.SetPreview(preview);
        EXPECT_EQ(vcl.Preview(), preview);
        ASSERT_EQ(vcl.AddTask(avClip(), {}), 0);
        const QString out = workDir() + QStringLiteral("/reports-%1.flv").arg(preview);
        ASSERT_TRUE(vcl.SetOutputFile(0, out, flvRecord()));
        vcl.Start(1);
        EXPECT_TRUE(vcl.Running());
        ASSERT_TRUE(rec.waitForFinal(30000));
        EXPECT_FALSE(vcl.Running());

        int progress = 0, previews = 0;
        for (const Event& e : rec.events()) {
            EXPECT_TRUE(e.onOwnerThread);
            progress += e.kind == Event::Progress;
            if (e.kind == Event::PreviewFrame) {
                ++previews;
                EXPECT_EQ(e.previewTask, 0);
                EXPECT_LE(e.previewSize.width(), 320);
                EXPECT_LE(e.previewSize.height(), 240);
                EXPECT_GT(e.previewSize.width(), 0);
            }
        }
        EXPECT_GE(progress, 2);
        EXPECT_EQ(previews > 0, preview);
        const TProgressInfo* last = rec.lastProgress(0);
        ASSERT_NE(last, nullptr);
        EXPECT_NEAR(last->CurrentDuration, last->TotalDuration, 100'000);
        EXPECT_NEAR(last->TotalDuration, 2'000'000, 50'000);
        EXPECT_EQ(last->CurrentSize, QFileInfo(out).size());
        EXPECT_TRUE(QFileInfo(out).permissions() & QFileDevice::ReadOther)
            << "the finished file is an ordinary document, not a private temporary file";
        EXPECT_EQ(rec.terminationCount(0), 1);
        // The final report is the last event.
        ASSERT_FALSE(rec.events().empty());
        EXPECT_EQ(rec.events().back().kind, Event::Terminate);
        EXPECT_EQ(rec.events().back().terminate.TaskIndex, -1);
        EXPECT_FALSE(rec.events().back().terminate.Exception);
    }
}

TEST(Reports, ARunWithoutTasksEndsAtOnce) {
    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    vcl.Start(2);
    ASSERT_TRUE(rec.waitForFinal(2000));
    EXPECT_EQ(rec.events().size(), 1u);
}

} // namespace

// Running tasks: order and number of parallel tasks, pause and resume, stop, failing tasks
// beside finishing ones, and the worker threads' priority.

#include "EngineTestSupport.h"
#include "FFmpegVCL.h"
#include "QtPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

using namespace enginetest;
using namespace engine;

namespace {

TOutputOptions mpeg4Record(const QString& size = QStringLiteral("640*480")) {
    TOutputOptions o;
    o.FileExt = ".avi";
    o.VideoCodec = "mpeg4";
    o.AudioCodec = "libmp3lame";
    o.AudioSampleRate = 44100;
    o.AudioChannels = 2;
    o.VideoBitrate = 816000;
    o.FrameRate = "25";
    o.FrameSize = size;
    return o;
}

// Slow enough to be caught while it runs: x264's default preset at 1280x720.
TOutputOptions slowRecord() {
    TOutputOptions o;
    o.FileExt = ".mp4";
    o.VideoCodec = "libx264";
    o.VideoPreset = "libx264-default";
    o.AudioCodec = "libfaac";
    o.FrameSize = "1280*720";
    o.VideoBitrate = 2000000;
    return o;
}

QString freshDir(const QString& name) {
    const QString dir = workDir() + '/' + name;
    QDir(dir).removeRecursively();
    EXPECT_TRUE(QDir().mkpath(dir));
    return dir;
}

int progressCount(const RunRecorder& rec) {
    return static_cast<int>(
        std::count_if(rec.events().begin(), rec.events().end(),
                      [](const Event& e) { return e.kind == Event::Progress; }));
}

TEST(Control, OneThreadRunsTasksOneAfterAnother) {
    const QString dir = freshDir("sequential");
    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(vcl.AddTask(avClip(), {}), i);
        ASSERT_TRUE(vcl.SetOutputFile(i, dir + QStringLiteral("/%1.avi").arg(i), mpeg4Record()));
    }
    vcl.Start(1);
    ASSERT_TRUE(rec.waitForFinal(60000));
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(rec.terminationCount(i), 1);
        EXPECT_TRUE(rec.termination(i)->Finished);
        ASSERT_GE(rec.firstProgress(i), 0);
        if (i > 0) {
            EXPECT_GT(rec.firstProgress(i), rec.terminationAt(i - 1))
                << "task " << i << " started before task " << i - 1 << " ended";
        }
    }
    EXPECT_EQ(filesIn(dir).size(), 3);
}

TEST(Control, ThreeThreadsStartTheFirstThreeAndThenTheRestInOrder) {
    const QString dir = freshDir("parallel");
    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(vcl.AddTask(avClip(), {}), i);
        ASSERT_TRUE(vcl.SetOutputFile(i, dir + QStringLiteral("/%1.avi").arg(i), mpeg4Record()));
    }
    vcl.Start(3);
    ASSERT_TRUE(rec.waitForFinal(90000));

    std::vector<int> ends; // positions of the terminations, in arrival order
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(rec.terminationCount(i), 1) << "task " << i;
        EXPECT_TRUE(rec.termination(i)->Finished) << rec.termination(i)->ExceptionMsg.toStdString();
        ends.push_back(rec.terminationAt(i));
    }
    std::vector<int> sortedEnds = ends;
    std::sort(sortedEnds.begin(), sortedEnds.end());
    for (int i = 0; i < 3; ++i)
        EXPECT_LT(rec.firstProgress(i), sortedEnds[0]) << "task " << i << " did not start at once";
    EXPECT_GT(rec.firstProgress(3), sortedEnds[0]) << "the fourth task started too early";
    EXPECT_GT(rec.firstProgress(4), sortedEnds[1]) << "the fifth task started too early";
    EXPECT_LT(rec.firstProgress(3), rec.firstProgress(4));
    // No more than three ran at once: every task's start follows enough endings.
    int running = 0, most = 0;
    for (const Event& e : rec.events()) {
        if (e.kind == Event::Progress &&
            rec.firstProgress(e.progress.TaskIndex) == static_cast<int>(&e - rec.events().data()))
            most = std::max(most, ++running);
        if (e.kind == Event::Terminate && e.terminate.TaskIndex >= 0)
            --running;
    }
    EXPECT_EQ(most, 3);
}

TEST(Control, PauseHoldsTheTaskAndResumeFinishesIt) {
    const QString dir = freshDir("pause");
    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    ASSERT_EQ(vcl.AddTask(longClip(6), {}), 0);
    const QString out = dir + "/paused.mp4";
    ASSERT_TRUE(vcl.SetOutputFile(0, out, slowRecord()));
    vcl.Start(1);
    ASSERT_TRUE(rec.waitUntil(
        [&rec] {
            const TProgressInfo* p = rec.lastProgress(0);
            return p && p->CurrentDuration > 0;
        },
        30000));
    vcl.Pause();
    EXPECT_TRUE(vcl.Paused());
    rec.processFor(300); // reports already on their way
    const int reports = progressCount(rec);
    const int64_t position = rec.lastProgress(0)->CurrentDuration;
    const QStringList partial = filesIn(dir);
    ASSERT_EQ(partial.size(), 1);
    const qint64 size = QFileInfo(dir + '/' + partial.front()).size();

    rec.processFor(1200);
    EXPECT_EQ(progressCount(rec), reports) << "reports arrived while paused";
    EXPECT_EQ(rec.lastProgress(0)->CurrentDuration, position);
    EXPECT_EQ(QFileInfo(dir + '/' + partial.front()).size(), size);
    EXPECT_EQ(rec.terminationCount(0), 0);

    vcl.Resume();
    EXPECT_FALSE(vcl.Paused());
    ASSERT_TRUE(rec.waitForFinal(120000));
    ASSERT_TRUE(rec.termination(0)->Finished) << rec.termination(0)->ExceptionMsg.toStdString();
    EXPECT_GT(progressCount(rec), reports);
    const Probed p = probe(out, true);
    EXPECT_EQ(p.videoFrames, 150) << "nothing lost across the pause";
    EXPECT_NEAR(p.duration, 6.0, 0.2);
    EXPECT_EQ(filesIn(dir), QStringList{"paused.mp4"});
}

TEST(Control, StopEndsWithinASecondAndLeavesTheOldFile) {
    const QString dir = freshDir("stop");
    const QString out = dir + "/target.mp4";
    {
        QFile old(out);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the file that was here before");
    }
    const QByteArray before = checksum(out);
    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    ASSERT_EQ(vcl.AddTask(longClip(6), {}), 0);
    ASSERT_EQ(vcl.AddTask(longClip(6), {}), 1);
    ASSERT_TRUE(vcl.SetOutputFile(0, out, slowRecord()));
    ASSERT_TRUE(vcl.SetOutputFile(1, dir + "/second.mp4", slowRecord()));
    vcl.Start(2);
    ASSERT_TRUE(rec.waitUntil(
        [&rec] {
            const TProgressInfo* p = rec.lastProgress(0);
            return p && p->CurrentDuration > 0;
        },
        30000));
    QElapsedTimer clock;
    clock.start();
    vcl.Stop(true);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(vcl.Running());
    const size_t events = rec.events().size();
    rec.processFor(700);
    EXPECT_EQ(rec.events().size(), events) << "a report arrived after Stop returned";
    EXPECT_FALSE(rec.finalSeen());
    EXPECT_EQ(rec.terminationCount(0), 0);
    EXPECT_EQ(filesIn(dir), QStringList{"target.mp4"}) << "a partial file was left";
    EXPECT_EQ(checksum(out), before);

    // A new start converts the whole list again.
    vcl.Start(2);
    ASSERT_TRUE(rec.waitForFinal(180000));
    EXPECT_TRUE(rec.termination(0)->Finished);
    EXPECT_TRUE(rec.termination(1)->Finished);
    EXPECT_NE(checksum(out), before) << "a complete file replaces the old one";
    EXPECT_NEAR(probe(out).duration, 6.0, 0.2);
}

TEST(Control, StopWithoutWaitingThenDestroyingCleansUp) {
    const QString dir = freshDir("stop-nowait");
    {
        TFFmpegVCL vcl;
        RunRecorder rec(vcl);
        ASSERT_EQ(vcl.AddTask(longClip(6), {}), 0);
        ASSERT_TRUE(vcl.SetOutputFile(0, dir + "/x.mp4", slowRecord()));
        vcl.Start(1);
        ASSERT_TRUE(rec.waitUntil([&rec] { return rec.firstProgress(0) >= 0; }, 30000));
        QElapsedTimer clock;
        clock.start();
        vcl.Stop(false);
        EXPECT_LT(clock.elapsed(), 200);
    } // the destructor waits for the worker
    EXPECT_TRUE(filesIn(dir).isEmpty());
}

TEST(Control, FailingTasksEndWithAnExceptionWhileTheOthersFinish) {
    const QString dir = freshDir("failing");
    const QString vanished = dir + "/vanished.mkv";
    const QString corrupt = dir + "/corrupt.mkv";
    ASSERT_TRUE(QFile::copy(avClip(), vanished));
    ASSERT_TRUE(QFile::copy(avClip(), corrupt));
    const QString blocker = dir + "/blocker"; // a file where the output folder should be
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString outDir = dir + "/out";
    ASSERT_TRUE(QDir().mkpath(outDir));

    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    struct Row {
        QString input, output;
        TOutputOptions options;
    };
    TOutputOptions h263 = mpeg4Record("320*240");
    h263.FileExt = ".3gp";
    h263.VideoCodec = "h263";
    h263.AudioCodec = "libfaac";
    const Row rows[] = {
        {avClip(), outDir + "/good1.avi", mpeg4Record()},
        {vanished, outDir + "/vanished.avi", mpeg4Record()},
        {avClip(), blocker + "/unwritable.avi", mpeg4Record()},
        {avClip(), outDir + "/good2.avi", mpeg4Record()},
        {corrupt, outDir + "/corrupt.avi", mpeg4Record()},
        {avClip(), outDir + "/h263.3gp", h263},
    };
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(vcl.AddTask(rows[i].input, {}), i);
        vcl.SetOutputFile(i, rows[i].output, rows[i].options);
    }
    // After the tasks were made: one input disappears, one becomes garbage.
    ASSERT_TRUE(QFile::remove(vanished));
    {
        QFile f(corrupt);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(100000, 'x'));
    }
    vcl.Start(2);
    ASSERT_TRUE(rec.waitForFinal(90000));

    for (int i : {0, 3}) {
        ASSERT_EQ(rec.terminationCount(i), 1);
        EXPECT_TRUE(rec.termination(i)->Finished) << rec.termination(i)->ExceptionMsg.toStdString();
        EXPECT_FALSE(rec.termination(i)->Exception);
    }
    const struct {
        int task;
        const char* mentioned;
    } failures[] = {{1, "vanished.mkv"}, {2, "unwritable.avi"}, {4, "corrupt.mkv"}, {5, "H.263"}};
    for (const auto& f : failures) {
        ASSERT_EQ(rec.terminationCount(f.task), 1) << "task " << f.task;
        const TTerminateInfo t = *rec.termination(f.task);
        EXPECT_TRUE(t.Exception) << "task " << f.task;
        EXPECT_FALSE(t.Finished);
        EXPECT_TRUE(t.ExceptionMsg.contains(f.mentioned)) << t.ExceptionMsg.toStdString();
        EXPECT_TRUE(t.ExceptionMsg.contains(QStringLiteral("失败")))
            << t.ExceptionMsg.toStdString();
    }
    QStringList expected{"good1.avi", "good2.avi"};
    EXPECT_EQ(filesIn(outDir), expected);
    EXPECT_FALSE(rec.events().back().terminate.Exception) << "the final report is no error";
}

// /proc/self/task/*/stat: (nice, scheduling policy) of every thread of this process.
std::vector<std::pair<int, int>> threadPriorities() {
    std::vector<std::pair<int, int>> out;
    for (const QString& tid :
         QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f("/proc/self/task/" + tid + "/stat");
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = f.readAll();
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        // Fields 19 (nice) and 41 (policy) of proc(5), counted from the state, field 3.
        if (fields.size() > 38)
            out.emplace_back(fields[16].toInt(), fields[38].toInt());
    }
    return out;
}

TEST(Control, WorkerThreadsRunWithTheChosenPriority) {
    constexpr int kSchedIdle = 5;
    const struct {
        TThreadPriority priority;
        int nice;
        int policy;
    } cases[] = {{tpLowest, 10, 0}, {tpLower, 5, 0}, {tpIdle, 0, kSchedIdle}};
    for (const auto& c : cases) {
        const QString dir = freshDir("priority");
        TFFmpegVCL vcl;
        RunRecorder rec(vcl);
        vcl.SetThreadPriority(c.priority);
        EXPECT_EQ(vcl.ThreadPriority(), c.priority);
        ASSERT_EQ(vcl.AddTask(longClip(6), {}), 0);
        ASSERT_TRUE(vcl.SetOutputFile(0, dir + "/p.mp4", slowRecord()));
        vcl.Start(1);
        vcl.Pause(); // keeps the worker and its codec threads alive for a look
        const auto matching = [&c] {
            int n = 0;
            for (const auto& [nice, policy] : threadPriorities())
                n += nice == c.nice && policy == c.policy;
            return n;
        };
        // The worker and the threads its encoder made.
        EXPECT_TRUE(rec.waitUntil([&] { return matching() >= 2; }, 20000))
            << "priority " << c.priority << ": " << matching() << " threads";
        vcl.Stop(true);
        EXPECT_EQ(matching(), 0) << "the threads ended with the task";
    }
    for (const auto& [nice, policy] : threadPriorities())
        EXPECT_TRUE(nice == 0 && policy == 0) << "the test's own threads stay normal";
}

} // namespace

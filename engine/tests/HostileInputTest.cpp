// Damaged and false inputs: the probe and the tasks end with a clear answer, never a crash,
// hang or leftover file (run under the sanitizer builds for leaks and races).

#include "EngineTestSupport.h"
#include "FFmpegVCL.h"
#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace enginetest;
using namespace engine;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

QString mp4Clip() {
    return clip("whole.mp4", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2", "-f",
                              "lavfi", "-i", "sine=sample_rate=44100:duration=2", "-c:v", "libx264",
                              "-preset", "ultrafast", "-c:a", "aac", "-shortest"});
}

QString aviClip() {
    return clip("whole.avi", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2", "-f",
                              "lavfi", "-i", "sine=sample_rate=44100:duration=2", "-c:v", "mpeg4",
                              "-c:a", "libmp3lame", "-shortest"});
}

QByteArray corruptMiddle(QByteArray data, quint32 seed) {
    QRandomGenerator rng(seed);
    const int from = data.size() / 3, to = data.size() * 2 / 3;
    for (int i = from; i < to; ++i)
        data[i] = static_cast<char>(rng.bounded(256));
    return data;
}

struct Hostile {
    QString name;
    QByteArray content;
};

TEST(HostileInput, EndsWithAnAnswerAndLeavesNothingBehind) {
    const QString dir = workDir() + "/hostile";
    ASSERT_TRUE(QDir().mkpath(dir + "/out"));
    const QByteArray mkv = readAll(avClip());
    const QByteArray mp4 = readAll(mp4Clip());
    const QByteArray avi = readAll(aviClip());
    QByteArray noise(200000, '\0');
    QRandomGenerator rng(7);
    for (char& c : noise)
        c = static_cast<char>(rng.bounded(256));
    const Hostile inputs[] = {
        {"empty.mp4", {}},
        {"text.mp4", QByteArray("Dear diary,\ntoday I converted nothing.\n").repeated(200)},
        {"noise.avi", noise},
        {"truncated.mkv", mkv.left(mkv.size() * 2 / 5)},
        {"truncated.mp4", mp4.left(mp4.size() / 2)},
        {"truncated.avi", avi.left(avi.size() / 2)},
        {"header-only.mkv", mkv.left(600)},
        {"corrupt-middle.mkv", corruptMiddle(mkv, 1)},
        {"corrupt-middle.mp4", corruptMiddle(mp4, 2)},
        {"corrupt-middle.avi", corruptMiddle(avi, 3)},
    };
    TOutputOptions flv;
    flv.FileExt = ".flv";
    flv.AudioCodec = "libmp3lame";
    flv.AudioSampleRate = 22050;
    flv.FrameRate = "25";

    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    std::vector<QString> accepted;
    for (const Hostile& h : inputs) {
        const QString path = writeFile(h.name, h.content, dir);
        TAVProbe probe;
        const bool probed = probe.LoadFile(path);
        if (!probed) {
            EXPECT_FALSE(probe.LastErrMsg().isEmpty()) << h.name.toStdString();
        }
        const int index = vcl.AddTask(path, {});
        if (index < 0) {
            EXPECT_TRUE(vcl.LastErrMsg().contains(h.name)) << vcl.LastErrMsg().toStdString();
            continue;
        }
        accepted.push_back(h.name);
        ASSERT_TRUE(vcl.SetOutputFile(index, dir + "/out/" + h.name + ".flv", flv));
    }
    // Files that are no media at all never become tasks.
    for (const char* refused : {"empty.mp4", "text.mp4", "noise.avi"})
        EXPECT_EQ(std::count(accepted.begin(), accepted.end(), QString(refused)), 0) << refused;
    ASSERT_FALSE(accepted.empty());

    vcl.Start(2);
    ASSERT_TRUE(rec.waitForFinal(120000)) << "a damaged input hung its task";
    QStringList expectedOutputs;
    for (size_t i = 0; i < accepted.size(); ++i) {
        const auto t = rec.termination(static_cast<int>(i));
        ASSERT_TRUE(t.has_value()) << accepted[i].toStdString();
        EXPECT_NE(t->Finished, t->Exception) << accepted[i].toStdString();
        const QString out = dir + "/out/" + accepted[i] + ".flv";
        if (t->Finished) {
            // What could be read was converted into a file that plays.
            const Probed p = probe(out);
            EXPECT_TRUE(p.ok && (p.hasVideo || p.hasAudio)) << accepted[i].toStdString();
            expectedOutputs << accepted[i] + ".flv";
        } else {
            EXPECT_TRUE(t->ExceptionMsg.contains(accepted[i])) << t->ExceptionMsg.toStdString();
            EXPECT_FALSE(QFileInfo::exists(out));
        }
    }
    expectedOutputs.sort();
    EXPECT_EQ(filesIn(dir + "/out"), expectedOutputs) << "no temporary file is left";
}

} // namespace

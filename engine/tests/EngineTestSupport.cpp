#include "EngineTestSupport.h"

#include "TestMedia.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

namespace enginetest {

using engine::TFFmpegVCL;

QString workDir() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/chenfan-engine-XXXXXX"));
    // CHENFAN_KEEP_TEST_FILES=1 keeps the clips and results for a look afterwards.
    static const bool keep = [] {
        const bool k = qEnvironmentVariableIsSet("CHENFAN_KEEP_TEST_FILES");
        dir.setAutoRemove(!k);
        if (k)
            fprintf(stderr, "test files kept in %s\n", qPrintable(dir.path()));
        // FFmpeg's information lines would bury the test output.
        av_log_set_level(AV_LOG_WARNING);
        return k;
    }();
    Q_UNUSED(keep);
    return dir.path();
}

QString clip(const QString& name, const QStringList& args) {
    const QString path = workDir() + '/' + name;
    if (!QFileInfo::exists(path))
        testmedia::makeClip(path, args, {});
    return path;
}

QString avClip() {
    return clip("av.mkv",
                {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2", "-f", "lavfi",
                 "-i", "sine=frequency=440:sample_rate=44100:duration=2", "-ac", "2", "-c:v",
                 "libx264", "-preset", "ultrafast", "-c:a", "flac", "-shortest"});
}

QString audioOnlyClip() {
    return clip("audio.wav", {"-f", "lavfi", "-i",
                              "sine=frequency=440:sample_rate=44100:duration=2", "-ac", "2"});
}

QString videoOnlyClip() {
    return clip("video.mkv", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=2",
                              "-c:v", "libx264", "-preset", "ultrafast"});
}

QString longClip(int seconds) {
    const QString d = QString::number(seconds);
    return clip(QStringLiteral("long%1.mkv").arg(seconds),
                {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25:duration=" + d, "-f", "lavfi",
                 "-i", "sine=frequency=440:sample_rate=44100:duration=" + d, "-ac", "2", "-c:v",
                 "libx264", "-preset", "ultrafast", "-c:a", "flac", "-shortest"});
}

RunRecorder::RunRecorder(TFFmpegVCL& vcl) {
    clock_.start();
    QThread* owner = vcl.thread();
    connect(&vcl, &TFFmpegVCL::OnProgress, this, [this, owner](const engine::TProgressInfo& i) {
        Event e{
            Event::Progress, clock_.elapsed(), QThread::currentThread() == owner, i, {}, -1, {}};
        events_.push_back(e);
    });
    connect(&vcl, &TFFmpegVCL::OnTerminate, this, [this, owner](const engine::TTerminateInfo& i) {
        Event e{
            Event::Terminate, clock_.elapsed(), QThread::currentThread() == owner, {}, i, -1, {}};
        events_.push_back(e);
    });
    connect(&vcl, &TFFmpegVCL::OnPreviewFrame, this, [this, owner](int task, const QImage& img) {
        Event e{
            Event::PreviewFrame, clock_.elapsed(), QThread::currentThread() == owner, {}, {}, task,
            img.size()};
        events_.push_back(e);
    });
}

bool RunRecorder::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    return enginetest::waitUntil(done, timeoutMs);
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

bool RunRecorder::waitForFinal(int timeoutMs) {
    return waitUntil([this] { return finalSeen(); }, timeoutMs);
}

void RunRecorder::processFor(int ms) {
    waitUntil([] { return false; }, ms);
}

bool RunRecorder::finalSeen() const {
    for (const Event& e : events_) {
        if (e.kind == Event::Terminate && e.terminate.TaskIndex < 0)
            return true;
    }
    return false;
}

std::optional<engine::TTerminateInfo> RunRecorder::termination(int task) const {
    for (const Event& e : events_) {
        if (e.kind == Event::Terminate && e.terminate.TaskIndex == task)
            return e.terminate;
    }
    return std::nullopt;
}

int RunRecorder::terminationCount(int task) const {
    int n = 0;
    for (const Event& e : events_)
        n += e.kind == Event::Terminate && e.terminate.TaskIndex == task;
    return n;
}

int RunRecorder::firstProgress(int task) const {
    for (size_t i = 0; i < events_.size(); ++i) {
        if (events_[i].kind == Event::Progress && events_[i].progress.TaskIndex == task)
            return static_cast<int>(i);
    }
    return -1;
}

int RunRecorder::terminationAt(int task) const {
    for (size_t i = 0; i < events_.size(); ++i) {
        if (events_[i].kind == Event::Terminate && events_[i].terminate.TaskIndex == task)
            return static_cast<int>(i);
    }
    return -1;
}

const engine::TProgressInfo* RunRecorder::lastProgress(int task) const {
    for (auto it = events_.rbegin(); it != events_.rend(); ++it) {
        if (it->kind == Event::Progress && it->progress.TaskIndex == task)
            return &it->progress;
    }
    return nullptr;
}

std::optional<engine::TTerminateInfo> convert(const QString& input, const QString& output,
                                              const engine::TOutputOptions& options,
                                              int timeoutMs) {
    TFFmpegVCL vcl;
    RunRecorder rec(vcl);
    const int index = vcl.AddTask(input, engine::TInputOptions{});
    EXPECT_EQ(index, 0) << vcl.LastErrMsg().toStdString();
    if (index < 0)
        return std::nullopt;
    EXPECT_TRUE(vcl.SetOutputFile(index, output, options)) << vcl.LastErrMsg().toStdString();
    vcl.Start(1);
    if (!rec.waitForFinal(timeoutMs)) {
        vcl.Stop(true);
        return std::nullopt;
    }
    return rec.termination(0);
}

namespace {
double number(const QJsonValue& v, double fallback = -1) {
    bool ok = false;
    const double d = v.toString().toDouble(&ok);
    return ok ? d : (v.isDouble() ? v.toDouble() : fallback);
}
double rate(const QString& text) {
    const QStringList parts = text.split('/');
    if (parts.size() != 2 || parts[1].toDouble() == 0)
        return 0;
    return parts[0].toDouble() / parts[1].toDouble();
}
} // namespace

Probed probe(const QString& path, bool countFrames) {
    Probed p;
    const QJsonObject root = testmedia::probeJson(path, countFrames);
    if (root.isEmpty())
        return p;
    p.ok = true;
    const QJsonObject format = root.value("format").toObject();
    p.format = format.value("format_name").toString();
    p.duration = number(format.value("duration"));
    for (const QJsonValue& v : root.value("streams").toArray()) {
        const QJsonObject s = v.toObject();
        const QString type = s.value("codec_type").toString();
        if (type == "video" && !p.hasVideo) {
            p.hasVideo = true;
            p.videoCodec = s.value("codec_name").toString();
            p.videoTag = s.value("codec_tag_string").toString();
            p.width = s.value("width").toInt();
            p.height = s.value("height").toInt();
            p.fps = rate(s.value("avg_frame_rate").toString());
            if (p.fps <= 0 || p.fps > 1000)
                p.fps = rate(s.value("r_frame_rate").toString());
            p.displayAspect = s.value("display_aspect_ratio").toString();
            p.videoFrames = static_cast<int>(number(s.value("nb_read_frames")));
            p.videoStart = number(s.value("start_time"), 0);
            p.videoDuration = number(s.value("duration"));
        } else if (type == "audio" && !p.hasAudio) {
            p.hasAudio = true;
            p.audioCodec = s.value("codec_name").toString();
            p.sampleRate = static_cast<int>(number(s.value("sample_rate"), 0));
            p.channels = s.value("channels").toInt();
            p.audioStart = number(s.value("start_time"), 0);
            p.audioDuration = number(s.value("duration"));
        }
    }
    return p;
}

QByteArray checksum(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&f);
    return hash.result().toHex();
}

QString writeFile(const QString& name, const QByteArray& content, const QString& dir) {
    const QString path = (dir.isEmpty() ? workDir() : dir) + '/' + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(content);
    return path;
}

QStringList filesIn(const QString& dir) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace enginetest

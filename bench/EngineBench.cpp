// Benchmark of the conversion engine against the ffmpeg program: the same 30-second 640x480
// source converted with the settings of formats 1100, 0, 2403 and 13, engine and ffmpeg
// alternating, wall time and peak memory of each run; then four files at thread count 2
// against thread count 1, beside the ffmpeg program converting them one after another and two at
// a time. Run by hand (bench/run_bench.sh), never by the test suite.
//
//   chenfan_bench [--rounds N] [--work DIR]             the whole benchmark
//   chenfan_bench convert THREADS CODE OUTDIR INPUT...  one engine run (used by the above)

#include "FFmpegVCL.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using engine::TOutputOptions;

struct BenchFormat {
    int code;
    const char* extension;
    const char* description;
    TOutputOptions (*record)();
    std::vector<std::string> ffmpegArgs; // between "-i input" and the output path
};

// The records the window builds for these formats with their default presets.
TOutputOptions flv1100() {
    TOutputOptions o;
    o.FileExt = ".flv";
    o.AudioCodec = "libmp3lame";
    o.AudioChannels = 2;
    o.AudioSampleRate = 22050;
    o.AudioBitrate = 128000;
    o.VideoBitrate = 816000;
    o.FrameRate = "25.00";
    o.AudioVolume = 256;
    return o;
}
TOutputOptions avi0() {
    TOutputOptions o;
    o.FileExt = ".avi";
    o.VideoCodec = "mpeg4";
    o.VideoTag = "XVID";
    o.AudioCodec = "libmp3lame";
    o.AudioChannels = 2;
    o.AudioSampleRate = 44100;
    o.AudioBitrate = 128000;
    o.VideoBitrate = 816000;
    o.FrameRate = "25.00";
    o.AudioVolume = 256;
    return o;
}
TOutputOptions mp42403() {
    TOutputOptions o;
    o.FileExt = ".mp4";
    o.VideoCodec = "libx264";
    o.VideoPreset = "libx264-default";
    o.AudioCodec = "libfaac";
    o.AudioChannels = 2;
    o.AudioSampleRate = 48000;
    o.AudioBitrate = 128000;
    o.VideoBitrate = 1500000;
    o.FrameSize = "800*600";
    o.FrameRate = "29.97";
    o.AudioVolume = 256;
    return o;
}
TOutputOptions vcd13() {
    TOutputOptions o;
    o.TargetType = engine::ttVCD;
    o.NormType = engine::ntPAL;
    o.FrameSize = "320*240";
    o.VideoBitrate = 528000;
    o.FrameRate = "25.00";
    o.AudioBitrate = 128000;
    o.AudioSampleRate = 44100;
    o.AudioVolume = 256;
    return o;
}

const std::vector<BenchFormat>& formats() {
    static const std::vector<BenchFormat> list = {
        {1100,
         ".flv",
         "flv1 816 kbps 25 fps, mp3 22050 Hz 128 kbps",
         flv1100,
         {"-c:v", "flv", "-b:v", "816k", "-r", "25", "-c:a", "libmp3lame", "-ar", "22050", "-ac",
          "2", "-b:a", "128k"}},
        {0,
         ".avi",
         "mpeg4 XVID 816 kbps 25 fps, mp3 44100 Hz 128 kbps",
         avi0,
         {"-c:v", "mpeg4", "-vtag", "XVID", "-b:v", "816k", "-r", "25", "-c:a", "libmp3lame", "-ar",
          "44100", "-ac", "2", "-b:a", "128k"}},
        {2403,
         ".mp4",
         "libx264 medium 800x600 29.97 fps 1500 kbps, aac 48000 Hz 128 kbps",
         mp42403,
         {"-c:v", "libx264", "-preset", "medium", "-b:v", "1500k", "-s", "800x600", "-r",
          "30000/1001", "-c:a", "aac", "-ar", "48000", "-ac", "2", "-b:a", "128k"}},
        // The preset's 528 kbps lies below the VCD minimum rate; both lower the minimum.
        {13,
         ".mpg",
         "VCD PAL with its presets (320x240 528 kbps, mp2 44100 Hz 128 kbps)",
         vcd13,
         {"-target", "pal-vcd", "-s", "320x240", "-b:v", "528k", "-minrate:v", "528k", "-r", "25",
          "-b:a", "128k", "-ar", "44100"}},
    };
    return list;
}

const BenchFormat* findFormat(int code) {
    for (const BenchFormat& f : formats()) {
        if (f.code == code)
            return &f;
    }
    return nullptr;
}

// ---- one engine run, in its own process so that its peak memory is its own

int convertMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    av_log_set_level(AV_LOG_ERROR); // as the ffmpeg runs get "-loglevel error"
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s convert THREADS CODE OUTDIR INPUT...\n", argv[0]);
        return 2;
    }
    const int threads = std::atoi(argv[2]);
    const BenchFormat* format = findFormat(std::atoi(argv[3]));
    if (!format) {
        std::fprintf(stderr, "unknown format %s\n", argv[3]);
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[4]);
    engine::TFFmpegVCL vcl;
    for (int i = 5; i < argc; ++i) {
        const QString input = QString::fromLocal8Bit(argv[i]);
        const int index = vcl.AddTask(input, {});
        const QString output = outDir + QStringLiteral("/engine-%1-%2%3")
                                            .arg(format->code)
                                            .arg(index)
                                            .arg(QLatin1String(format->extension));
        if (index < 0 || !vcl.SetOutputFile(index, output, format->record())) {
            std::fprintf(stderr, "%s\n", qPrintable(vcl.LastErrMsg()));
            return 1;
        }
    }
    int failures = 0;
    QObject::connect(&vcl, &engine::TFFmpegVCL::OnTerminate,
                     [&](const engine::TTerminateInfo& info) {
                         if (info.Exception) {
                             ++failures;
                             std::fprintf(stderr, "%s\n", qPrintable(info.ExceptionMsg));
                         }
                         if (info.TaskIndex < 0)
                             app.quit();
                     });
    vcl.Start(threads);
    app.exec();
    return failures == 0 ? 0 : 1;
}

// ---- the orchestrator

struct RunResult {
    bool ok = false;
    double seconds = 0;
    long peakKiB = 0;
};

// Starts every command at once and waits for all of them; the time is until the last one ends,
// the peak memory the largest of them.
RunResult runChildren(const std::vector<std::vector<std::string>>& commands) {
    RunResult r;
    r.ok = true;
    const auto start = std::chrono::steady_clock::now();
    std::vector<pid_t> pids;
    for (const std::vector<std::string>& args : commands) {
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
            std::fprintf(stderr, "cannot start %s\n", argv[0]);
            r.ok = false;
            continue;
        }
        pids.push_back(pid);
    }
    for (pid_t pid : pids) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) != pid) {
            r.ok = false;
            continue;
        }
        r.peakKiB = std::max(r.peakKiB, usage.ru_maxrss);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "failed: %s\n", commands.front()[0].c_str());
            r.ok = false;
        }
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return r;
}

RunResult runChild(const std::vector<std::string>& args) {
    return runChildren({args});
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The ffmpeg program with a format's settings; threads > 0 fixes its codec threads.
std::vector<std::string> ffmpegCommand(const BenchFormat& f, const std::string& source,
                                       const std::string& output, int threads = 0) {
    std::vector<std::string> ff{"ffmpeg", "-nostdin", "-y", "-loglevel", "error"};
    if (threads > 0)
        ff.insert(ff.end(), {"-threads", std::to_string(threads)});
    ff.insert(ff.end(), {"-i", source});
    ff.insert(ff.end(), f.ffmpegArgs.begin(), f.ffmpegArgs.end());
    if (threads > 0)
        ff.insert(ff.end(), {"-threads", std::to_string(threads)});
    ff.push_back(output);
    return ff;
}

int benchMain(int argc, char** argv) {
    int rounds = 3;
    QString work = QDir::tempPath() + QStringLiteral("/chenfan-bench");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--rounds")
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (std::string(argv[i]) == "--work")
            work = QString::fromLocal8Bit(argv[++i]);
    }
    QDir().mkpath(work);
    const std::string self =
        QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toStdString();
    const std::string dir = work.toStdString();
    const std::string source = dir + "/source-30s-640x480.mp4";
    if (!QFileInfo::exists(QString::fromStdString(source))) {
        std::printf("making the 30-second 640x480 source with the ffmpeg program...\n");
        const RunResult made = runChild({"ffmpeg",
                                         "-nostdin",
                                         "-y",
                                         "-loglevel",
                                         "error",
                                         "-f",
                                         "lavfi",
                                         "-i",
                                         "testsrc2=size=640x480:rate=25:duration=30",
                                         "-f",
                                         "lavfi",
                                         "-i",
                                         "sine=frequency=440:sample_rate=44100:duration=30",
                                         "-ac",
                                         "2",
                                         "-c:v",
                                         "libx264",
                                         "-preset",
                                         "veryfast",
                                         "-b:v",
                                         "2M",
                                         "-c:a",
                                         "aac",
                                         "-b:a",
                                         "160k",
                                         "-shortest",
                                         source});
        if (!made.ok)
            return 1;
    }
    std::printf("source: %s, %d rounds, engine and ffmpeg alternating, medians shown\n\n",
                source.c_str(), rounds);
    std::printf("%-6s %-66s %9s %9s %7s %10s %10s %7s\n", "format", "settings", "engine s",
                "ffmpeg s", "ratio", "engine MiB", "ffmpeg MiB", "ratio");
    bool allOk = true;
    for (const BenchFormat& f : formats()) {
        std::vector<double> engineTimes, ffmpegTimes;
        long enginePeak = 0, ffmpegPeak = 0;
        for (int r = 0; r < rounds; ++r) {
            const RunResult e =
                runChild({self, "convert", "1", std::to_string(f.code), dir, source});
            const RunResult m = runChild(
                ffmpegCommand(f, source, dir + "/ffmpeg-" + std::to_string(f.code) + f.extension));
            allOk = allOk && e.ok && m.ok;
            engineTimes.push_back(e.seconds);
            ffmpegTimes.push_back(m.seconds);
            enginePeak = std::max(enginePeak, e.peakKiB);
            ffmpegPeak = std::max(ffmpegPeak, m.peakKiB);
        }
        const double te = median(engineTimes), tf = median(ffmpegTimes);
        std::printf("%-6d %-66s %9.2f %9.2f %7.3f %10.1f %10.1f %7.3f\n", f.code, f.description, te,
                    tf, te / tf, enginePeak / 1024.0, ffmpegPeak / 1024.0,
                    double(enginePeak) / double(ffmpegPeak));
        std::fflush(stdout);
    }

    // The same four files through the ffmpeg program, for what this machine allows: one after
    // another with its own thread choice, and two at a time with one codec thread each.
    std::printf(
        "\nfour files of format 0, thread count 1 against 2 (engine), and the ffmpeg program "
        "one after another against two at a time:\n");
    const BenchFormat& avi = *findFormat(0);
    std::vector<double> one, two, ffOne, ffTwo;
    for (int r = 0; r < rounds; ++r) {
        for (const char* threads : {"1", "2"}) {
            const RunResult res =
                runChild({self, "convert", threads, "0", dir, source, source, source, source});
            allOk = allOk && res.ok;
            (threads[0] == '1' ? one : two).push_back(res.seconds);
        }
        double sequential = 0;
        for (int i = 0; i < 4; ++i) {
            const RunResult res = runChild(
                ffmpegCommand(avi, source, dir + "/ffmpeg-four-" + std::to_string(i) + ".avi"));
            allOk = allOk && res.ok;
            sequential += res.seconds;
        }
        ffOne.push_back(sequential);
        double paired = 0;
        for (int pair = 0; pair < 2; ++pair) {
            const RunResult res = runChildren(
                {ffmpegCommand(avi, source, dir + "/ffmpeg-pair-" + std::to_string(pair) + "a.avi",
                               1),
                 ffmpegCommand(avi, source, dir + "/ffmpeg-pair-" + std::to_string(pair) + "b.avi",
                               1)});
            allOk = allOk && res.ok;
            paired += res.seconds;
        }
        ffTwo.push_back(paired);
    }
    const double t1 = median(one), t2 = median(two);
    std::printf("engine: thread count 1: %.2f s, thread count 2: %.2f s, speed-up %.2f\n", t1, t2,
                t1 / t2);
    const double f1 = median(ffOne), f2 = median(ffTwo);
    std::printf("ffmpeg: one after another: %.2f s, two at a time: %.2f s, speed-up %.2f\n", f1, f2,
                f1 / f2);
    return allOk ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "convert")
        return convertMain(argc, argv);
    return benchMain(argc, argv);
}

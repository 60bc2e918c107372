#include "TestMedia.h"

#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace testmedia {

QString runProgram(const QString& program, const QStringList& args, int* exitCode) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    p.waitForFinished(300000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool makeClip(const QString& path, const QStringList& inputArgs, const QStringList& extraArgs) {
    QStringList args{"-y", "-hide_banner", "-loglevel", "error"};
    args << inputArgs << extraArgs << path;
    int code = 0;
    runProgram("ffmpeg", args, &code);
    EXPECT_EQ(code, 0) << "ffmpeg could not make " << path.toStdString();
    return code == 0;
}

bool makeAvClip(const QString& path, double seconds, int width, int height) {
    const QString d = QString::number(seconds);
    return makeClip(
        path,
        {"-f", "lavfi", "-i",
         QString("testsrc2=size=%1x%2:rate=25:duration=%3").arg(width).arg(height).arg(d), "-f",
         "lavfi", "-i", QString("sine=frequency=440:sample_rate=44100:duration=%1").arg(d)},
        {"-ac", "2", "-shortest"});
}

QString probe(const QString& path, const QString& entry, const QString& streamSelector) {
    QStringList args{"-v", "error"};
    if (!streamSelector.isEmpty())
        args << "-select_streams" << streamSelector;
    args << "-show_entries" << entry << "-of"
         << "default=noprint_wrappers=1:nokey=1" << path;
    return runProgram("ffprobe", args).trimmed();
}

QJsonObject probeJson(const QString& path, bool countFrames) {
    QStringList args{"-v", "error", "-of", "json", "-show_format", "-show_streams"};
    if (countFrames)
        args << "-count_frames";
    args << path;
    int code = 0;
    const QString out = runProgram("ffprobe", args, &code);
    if (code != 0)
        return {};
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

} // namespace testmedia

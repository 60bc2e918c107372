#pragma once
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Fixtures made at test time with the ffmpeg program (tests only; the product never runs it),
// and results judged by ffprobe.
namespace testmedia {

// Runs a program and returns its standard output; exitCode receives its exit status.
QString runProgram(const QString& program, const QStringList& args, int* exitCode = nullptr);

// Makes a clip with the ffmpeg program from lavfi sources. `extraArgs` go before the output
// path (codecs, sizes). Returns false (and fails the calling test) when ffmpeg fails.
bool makeClip(const QString& path, const QStringList& inputArgs, const QStringList& extraArgs);

// A small audio+video clip: testsrc2 at WxH, 25 fps, sine 440 Hz stereo 44100 Hz.
bool makeAvClip(const QString& path, double seconds = 2.0, int width = 320, int height = 240);

// ffprobe -show_streams -show_format as key=value lines; `entry` like "stream=codec_name".
QString probe(const QString& path, const QString& entry, const QString& streamSelector = {});

// ffprobe's whole report (-show_format -show_streams) as JSON; with countFrames each stream
// also has "nb_read_frames". An empty object when ffprobe cannot read the file.
QJsonObject probeJson(const QString& path, bool countFrames = false);

} // namespace testmedia

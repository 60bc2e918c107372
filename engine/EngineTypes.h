#pragma once
// The option and report records of the conversion engine. Plain values: the window keeps one
// input and one output record per row, and the engine copies what it is given.

#include <QString>

#include <cstdint>

namespace engine {

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal };
// Numbered from 0; the log line shows the ordinal.
enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

struct TInputOptions {
    QString FileName;
    QString FileFormat; // forced demuxer name; empty: probe
    int64_t TimeStart = -1;
    int ProgramID = -1;
    QString ExtOptions;
    int Tag = -1;
    void* Data = nullptr; // not owned

    void reset() { *this = TInputOptions{}; }
};

struct TOutputOptions {
    QString FileName;
    QString FileExt;      // ".flv": chooses the container when FileFormat is empty
    QString FileFormat;   // muxer name; empty: from FileExt, else from the file name
    QString AudioCodec;   // encoder name; empty: the container's default
    int AudioVolume = -1; // 256 is unchanged; -1 also unchanged
    int AudioChannels = -1;
    int AudioSampleRate = -1;
    int AudioBitrate = -1; // bits per second; -1: the encoder's default
    QString VideoCodec;    // encoder name; empty: the container's default
    QString VideoPreset;   // "libx264-default" or empty
    bool DisableVideo = false;
    QString FrameRate;        // "25", "29.97"; empty keeps the source rate
    QString FrameSize;        // "W*H"; empty keeps the source size
    QString FrameAspectRatio; // "4:3", "16:9", "37:20", "47:20"; the display aspect
    int VideoBitrate = -1;    // bits per second; -1: the encoder's default
    QString VideoTag;         // four-character code such as "XVID"
    QString VideoFilters;     // an FFmpeg filter description, applied when not empty
    TOptionTargetType TargetType = ttIgnore;
    TOptionNormType NormType = ntAuto;

    void reset() { *this = TOutputOptions{}; }
};

struct TProgressInfo {
    int TaskIndex = -1;
    int FileIndex = 0;
    int FrameNumber = 0;
    int FPS = 0;
    float Quality = 0;
    float BitRate = 0;
    int64_t CurrentSize = 0;     // bytes written so far
    int64_t CurrentDuration = 0; // microseconds converted so far
    int64_t TotalDuration = 0;   // microseconds; <= 0 when unknown
};

struct TTerminateInfo {
    int TaskIndex = -1; // -1: every task of the run has ended
    bool Finished = false;
    bool Exception = false;
    QString ExceptionMsg;
};

} // namespace engine

#pragma once
// Sub-items of a file-list row (column = sub-item + 1; column 0 is the input path).

namespace rowcol {

enum Sub {
    Duration = 0,
    Size = 1,
    OutputFile = 2,
    Progress = 3,
    Fps = 4,
    CurrentTime = 5,
    ConvertedSize = 6,
    TaskNumber = 7,
    FormatKey = 8,
    PresetPositions = 9,
    VideoCodec = 10,
    AudioCodec = 11,
    AudioChannels = 12,
    VideoTag = 13,
    FileExt = 14,
    FrameSize = 15,
    VideoBitrate = 16,
    FrameRate = 17,
    AudioBitrate = 18,
    SampleRate = 19,
    Aspect = 20,
    DisableVideo = 21,
    TargetType = 22,
    NormType = 23,
};

constexpr int column(Sub s) { return static_cast<int>(s) + 1; }

} // namespace rowcol

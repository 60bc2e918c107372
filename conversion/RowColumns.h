#pragma once
// The texts of one file-list row: its caption (the input path) and its 24 sub-items. The list
// widget shows them; everything a row converts with is read from and written to this value.

#include <QString>

#include <array>

namespace conversion {

// Sub-item numbers of the list, from 0.
enum class SubItem {
    Duration = 0,        // "视频时间"
    FileSize = 1,        // "文件大小"
    OutputFile = 2,      // "输出文件": file name only
    Progress = 3,        // "转换进度"
    Fps = 4,             // hidden, no caption
    CurrentTime = 5,     // "当前时间"
    ConvertedSize = 6,   // "转换大小"
    TaskNumber = 7,      // "视频序号": task index + 1
    FormatKey = 8,       // "视频类别": row format key
    PresetPositions = 9, // "视频选项": six two-digit positions
    VideoCodec = 10,     // "视频编码"
    AudioCodec = 11,     // "音频编码"
    AudioChannels = 12,  // "声音频道"
    VideoTag = 13,       // "VideoTag"
    FileExt = 14,        // "FileExt"
    FrameSize = 15,      // "视频分辨率"
    VideoBitrate = 16,   // "视频比特率"
    FrameRate = 17,      // "视频帧率"
    AudioBitrate = 18,   // "音频比特率"
    SampleRate = 19,     // "音频采样率"
    Aspect = 20,         // "视频缩放"
    DisableVideo = 21,   // "视频能否": "True" or "False"
    TargetType = 22,     // "TargetType"
    NormType = 23,       // "NormType"
};
inline constexpr int kSubItemCount = 24;

// The column caption above a sub-item (empty for the hidden frames-per-second column).
QString subItemCaption(SubItem item);

struct RowColumns {
    QString caption; // full path of the input file
    std::array<QString, kSubItemCount> subItems;

    QString& operator[](SubItem i) { return subItems[static_cast<std::size_t>(i)]; }
    const QString& operator[](SubItem i) const { return subItems[static_cast<std::size_t>(i)]; }

    friend bool operator==(const RowColumns&, const RowColumns&) = default;
};

} // namespace conversion

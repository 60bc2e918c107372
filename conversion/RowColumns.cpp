#include "RowColumns.h"

namespace conversion {

QString subItemCaption(SubItem item) {
    static const char* const kCaptions[kSubItemCount] = {
        "视频时间",   "文件大小",   "输出文件", "转换进度",   "",           "当前时间",
        "转换大小",   "视频序号",   "视频类别", "视频选项",   "视频编码",   "音频编码",
        "声音频道",   "VideoTag",   "FileExt",  "视频分辨率", "视频比特率", "视频帧率",
        "音频比特率", "音频采样率", "视频缩放", "视频能否",   "TargetType", "NormType",
    };
    const int i = static_cast<int>(item);
    return i >= 0 && i < kSubItemCount ? QString::fromUtf8(kCaptions[i]) : QString();
}

} // namespace conversion

#include "Formats.h"

#include <array>

namespace catalogue {
namespace {

// The format lists of the seven categories, in list order. Titles end with the output
// extension in brackets; the list shows title, caption and an image (position modulo 2).
// category code 11
constexpr FormatEntry kFlash[] = {
    {1100, "FLV在线网络视频(*.flv)", "在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)"},
    {1101, "SWF动画视频FLASH动画视频(*.swf)", "最常用的FLASH动画视频预置方案，动画格式为SWF文件"},
    {1102, "FLV在线网络音频格式(*.flv)",
     "在线视频网站常用的视频预置方案如(优酷、酷六、土豆网)(音频格式)"},
    {1103, "SWF动画视频FLASH动画音频格式(*.swf)",
     "最常用的FLASH动画视频预置方案，动画格式为SWF文件(音频格式)"},
};

// category code 0
constexpr FormatEntry kCommonVideo[] = {
    {0, "AVI - 音频视频交错格式(*.avi)", "AVI最常用的视频格式,语音和影像同步组合在一起的文件格式"},
    {1, "MP4 - MPEG-4视频格式(*.mp4)",
     "为网络广播和视频通信制定的压缩标准,有很小的体积和清晰的画质"},
    {2, "DivX - 视频格式(*.avi)",
     "DivX采用MPEG-4技术来压缩的数字多媒体格式,有接近DVD的画质和完美的音质"},
    {3, "MOV - 苹果QuickTime视频格式(*.mov)",
     "MOV即QuickTime影片格式，它是Apple公司开发的音频视频文件格式"},
    {4, "XviD - 视频格式(*.avi)", "XviD是世界上最流行的视频编码,很多电影是用XviD压制的"},
    {5, "MKV - Matroska视频格式(*.mkv)",
     "Matroska是一种新的多媒体封装格式 ，有超清晰的画面，和完美的音质"},
    {6, "MPEG-1视频格式(*.mpg)", "工业级标准而设计的压缩格式，具有VHS的画质和接近CD的音质"},
    {7, "MPEG-2视频格式(*.mpg)", "工业级标准而设计的压缩格式，具有广播级的视频画质和CD的音质"},
    {8, "ASF - 高级流视频格式(*.asf)", "微软制定的高级流媒体视频格式，被广泛用于网络"},
    {9, "3GP - 视频格式(*.3gp)", "3GP是一种3G流媒体的视频编码格式，手机支持的视频格式"},
    {10, "WMV - 视频格式(*.wmv)",
     "WMV是微软推出的一种流媒体格式,WMV格式的体积非常小,很适合在网上播放和传输"},
    {11, "DVD - 视频格式(*.mpg)",
     "DVD-数字视频光盘通,常用来播放标准电视机清晰度的电影,高质量的音乐"},
    {12, "SVCD - 视频格式(*.mpg)", "SVCD采用MPEG-2压缩,比VCD视频有更好的视频质量"},
    {13, "VCD - 视频格式(*.mpg)", "可以在VCD机上直接播放,也可以在配置了光驱的电脑中播放。"},
    {14, "RM - REAL视频格式(*.rm)",
     "RealNetWorks推出的一种流媒体格式,低码率,很适合在网上播放和传输"},
};

// category code 1
constexpr FormatEntry kCommonAudio[] = {
    {100, "MP3 - MPEG Layer-3音频格式(*.mp3)",
     "最流行的音频格式,具有体积小,音质高的特点,几乎成为网上音乐的代名词"},
    {101, "WMA - Windows媒体音频格式(*.wma)", "微软公司推出的与MP3格式齐名的一种新的音频格式"},
    {102, "WAV - 波形音频格式(*.wav)", "WAV为微软公司开发的波形声音文件格式"},
    {103, "AAC - 高级音频格式(*.aac)",
     "高级声音数据设计的文件压缩格式,与Mp3类似,苹果公司的ipod,iPhone支持的音频格式"},
    {104, "M4A - MPEG-4音频格式(*.m4a)",
     "M4A是MPEG4音频标准的文件,几乎所有支持MPEG4音频的软件都支持m4a音频"},
    {105, "OGG - Ogg Vorbis音频格式(*.ogg)",
     "OGG是一种常见的格式，在音乐软件、游戏音效、便携播放器、网络浏览器上都得到广泛支持"},
    {106, "RA - RealAudio音频格式(*.ra)",
     "RealNetworks制定的流媒体音频格式,便于网络传输的音频格式"},
    {107, "AC3 - 杜比数字AC-3音频格式(*.ac3)",
     "杜比数字AC-3是杜比公司开发的新一代家庭影院多声道数字音频系统。"},
    {108, "AIFF - 音频交换文件格式(*.aiff)",
     "AIFF是音频交换文件格式是Apple公司开发的声音文件格式,广泛应用于各种专业的音频软件中"},
    {109, "MP2 - MPEG Layer-2音频格式(*.mp2)", "MPEG Layer-2音频格式，具有CD级别的音质"},
    {110, "FLAC-音频格式(*.flac)", "FLAC是一套著名的无损压缩编码,所以还原CD音乐光盘音质"},
    {111, "MP4-MP4音频格式(*.m4a)", "MP4音频格式,具有完美的CD音质"},
    {112, "AMR-手机音频格式(*.amr)", "AMR是流行的手机数字音乐文件格式之一"},
};

// category code 24
constexpr FormatEntry kSmartphone[] = {
    {2400, "智能手机标准MP4视频(*.mp4)", "智能手机最常用的MP4视频格式预置方案"},
    {2401, "智能手机DivX视频(*.mp4)", "各种智能手机使用的MP4视频格式.(DivX编码)"},
    {2402, "智能手机Xvid视频(*.mp4)", "各种智能手机使用的MP4视频格式.(Xvid编码)"},
    {2403, "H.264编码高清视频(*.mp4)", "各种智能手机使用的高清MP4视频格式.(H.264编码)"},
    {2404, "智能手机高清AVI视频(*.avi)", "适用于智能手机播放的高清AVI视频格式"},
    {2405, "AVI视频-智能手机适用(*.avi)", "流行的AVI视频-智能手机适用"},
    {2406, "MKV格式视频(*.mkv)", "适用于智能手机播放的MKV视频格式"},
    {2407, "手机MOV视频(*.mov)", "适合各种智能手机播放的MOV视频格式"},
    {2408, "FLV网络格式视频(*.flv)", "FLV网络压缩视频格式，智能手机适用"},
    {2409, "手机3GP视频(*.3gp)", "手机3GP视频,早期智能机视频格式"},
    {2410, "WMV格式视频(*.wmv)", "智能手机适用的WMV视频格式预置方案.(高清)"},
    {2411, "ASF格式视频(*.asf)", "智能手机适用的ASF视频格式预置方案"},
    {2412, "MPG格式视频(*.mpg)", "智能手机适用的MPG视频格式预置方案"},
    {2413, "智能手机支持的MPEG-2视频(*.mpg)", "适合各种智能手机播放的MPEG-2视频格式.(高清/标清)"},
    {2414, "智能手机支持的MPEG-4视频(*.mp4)", "各种智能手机支持的MPEG-4视频格式"},
    {2415, "手机MP3格式音频(*.mp3)", "各种手机适用的MP3音频格式预置方案"},
};

// category code 10
constexpr FormatEntry kMp4Player[] = {
    {1000, "MP4机播放的MP4视频格式(*.mp4)", "为各种MP4机优化的MPEG-4视频预置方案"},
    {1001, "电脑上使用的MP4视频格式(*.mp4)", "为电脑上使用的MP4优化的MPEG-4视频预置方案"},
    {1002, "MPEG-4视频高清晰视频(*.mp4)", "MPEG-4视频预置方案(高清晰编码格式)"},
    {1003, "MP4 AVC视频(*.mp4)", "MPEG-4 AVC视频预置方案"},
    {1004, "MP4 H264编码视频(*.mp4)", "优化的MPEG-4视频预置方案(H264高清晰编码)"},
};

// category code 5
constexpr FormatEntry kPsp[] = {
    {500, "PSP MPEG-4视频(*.mp4)", "为PSP优化的MPEG-4视频预置方案."},
    {501, "PSP AVC MPEG-4视频(*.mp4)", "为PSP优化的AVC MPEG-4视频预置方案."},
    {502, "PSP高清晰MPEG-4视频(*.mp4)", "为PSP优化的MPEG-4视频预置方案.(高清晰)"},
    {503, "PSP高压缩MPEG-4视频(*.mp4)", "为PSP优化的MPEG-4视频预置方案.(高压缩)"},
    {504, "PSP Video MPEG-4视频480P(*.mp4)", "为PSP优化的MPEG-4视频预置方案.(480P)"},
};

// category code 25
constexpr FormatEntry kTablet[] = {
    {2500, "高清AVI格式视频(*.avi)", "各种平板电脑适用的高清AVI视频格式"},
    {2501, "平板电脑支持的AVI视频(*.avi)", "适合安卓系统平板电脑播放的AVI视频格式"},
    {2502, "平板电脑标准的MP4视频(*.mp4)", "各种平板电脑适用的标准MP4视频格式"},
    {2503, "适用平板电脑的DivX视频(*.mp4)", "采用DivX编码的MPEG-4视频格式"},
    {2504, "Xvid视频高清(*.mp4)", "高清晰的MP4视频格式,采用Xvid编码格式"},
    {2505, "H.264格式高清视频(*.mp4)", "高清MP4视频格式，采用H.264编码"},
    {2506, "安卓平板电脑MPEG-2视频(*.mpg)", "安卓平板电脑适用的MPEG-2编码视频格式"},
    {2507, "Android平板支持的MPEG-4视频(*.mp4)", "Android平板设备支持的MPEG-4视频格式"},
    {2508, "MKV格式视频(*.mkv)", "MKV视频格式的预置方案.(高清/标清)"},
    {2509, "MOV格式视频(*.mov)", "MOV视频格式的预置方案.(高清/标清)"},
    {2510, "FLV格式视频(*.flv)", "通用的FLV网络压缩视频格式,平板电脑适用"},
    {2511, "平板电脑WMV视频(*.wmv)", "平板电脑适用的WMV视频格式预置方案.(高清/标清)"},
    {2512, "平板电脑MP3音频(*.mp3)", "平板电脑适用的MP3音频格式预置方案"},
};

constexpr std::array<CategoryEntry, 7> kCategories{{
    {"Flash视频", 11, 11, kFlash},
    {"常用视频", 0, 0, kCommonVideo},
    {"常用音频", 1, 1, kCommonAudio},
    {"智能手机", 12, 24, kSmartphone},
    {"MP4视频", 10, 10, kMp4Player},
    {"PSP视频", 5, 5, kPsp},
    {"平板电脑", 13, 25, kTablet},
}};

} // namespace

std::span<const CategoryEntry> categories() {
    return kCategories;
}

const CategoryEntry* categoryAt(int position) {
    if (position < 0 || position >= static_cast<int>(kCategories.size()))
        return nullptr;
    return &kCategories[static_cast<std::size_t>(position)];
}

int categoryCode(int position) {
    const CategoryEntry* c = categoryAt(position);
    return c ? c->code : -1;
}

std::span<const FormatEntry> formatsOfCategory(int position) {
    const CategoryEntry* c = categoryAt(position);
    return c ? c->formats : std::span<const FormatEntry>{};
}

const FormatEntry* formatAt(int categoryPosition, int formatPosition) {
    const auto list = formatsOfCategory(categoryPosition);
    if (formatPosition < 0 || formatPosition >= static_cast<int>(list.size()))
        return nullptr;
    return &list[static_cast<std::size_t>(formatPosition)];
}

int formatCode(int categoryPosition, int formatPosition) {
    if (!formatAt(categoryPosition, formatPosition))
        return -1;
    return categoryCode(categoryPosition) * 100 + formatPosition;
}

int rowFormatKey(int categoryPosition, int formatPosition) {
    return (categoryPosition + 1) * 100 + formatPosition;
}

const FormatEntry* findFormat(int code) {
    for (const auto& c : kCategories)
        for (const auto& f : c.formats)
            if (f.code == code)
                return &f;
    return nullptr;
}

std::vector<int> allFormatCodes() {
    std::vector<int> codes;
    for (const auto& c : kCategories)
        for (const auto& f : c.formats)
            codes.push_back(f.code);
    return codes;
}

bool isAudioOnlyFormat(int code) {
    return code == 1102 || code == 1103 || (code >= 100 && code <= 112) || code == 2415 ||
           code == 2512;
}

QString FormatExtension(const QString& title) {
    const qsizetype len = title.size();
    if (len < 5)
        return title.mid(0, len > 0 ? len - 1 : 0);
    // The four characters that end one before the last: ".mp4" of "(*.mp4)".
    const QString four = title.mid(len - 5, 4);
    if (four == QLatin1String("lac)"))
        return QStringLiteral(".alac");
    if (four == QLatin1String("flac"))
        return QStringLiteral(".flac");
    if (four == QLatin1String("aiff"))
        return QStringLiteral(".aiff");
    if (four == QLatin1String("mpeg"))
        return QStringLiteral(".mpeg");
    if (four == QLatin1String("*.rm"))
        return QStringLiteral(".rm");
    if (four == QLatin1String("*.ra"))
        return QStringLiteral(".ra");
    return four;
}

} // namespace catalogue

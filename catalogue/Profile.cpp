#include "Profile.h"

namespace catalogue {
namespace {

// One row per live format code, in catalogue order. Rows that look odd are meant so: 2400
// writes an AVI file although its title says MP4, 106 names the file ".ra" but asks for the
// ".rm" container, 11-13 leave everything to the disc target, 14 sets only encoder and size.
constexpr ProfileRow kProfiles[] = {
    // code, output ext, FileExt, video codec, tag, audio codec, channels, sample rate,
    // audio bit rate, video bit rate, frame size, frame rate, aspect, target, norm, audio only
    {1100, ".flv", ".flv", nullptr, nullptr, "libmp3lame", "2", "22050", 128000, 1200000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {1101, ".swf", ".swf", nullptr, nullptr, "libmp3lame", "2", "22050", 128000, 528000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {1102, ".flv", nullptr, nullptr, nullptr, "libmp3lame", "2", "22050", 128000, -1, nullptr,
     nullptr, nullptr, nullptr, nullptr, true},
    {1103, ".swf", nullptr, nullptr, nullptr, "libmp3lame", "2", "22050", 128000, -1, nullptr,
     nullptr, nullptr, nullptr, nullptr, true},
    {0, ".avi", ".avi", "mpeg4", "XVID", "libmp3lame", "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {1, ".mp4", ".mp4", "mpeg4", nullptr, "libmp3lame", "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {2, ".avi", ".avi", "mpeg4", "DX50", "libmp3lame", "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {3, ".mov", ".mov", nullptr, nullptr, "libfaac", "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {4, ".avi", ".avi", "libxvid", nullptr, "libmp3lame", "2", "44100", 128000, 816000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {5, ".mkv", ".mkv", "mpeg4", nullptr, "libmp3lame", "2", "44100", 128000, 1200000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {6, ".mpg", ".mpg", "mpeg1video", nullptr, nullptr, "2", "44100", 128000, 528000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {7, ".mpg", ".mpg", "mpeg2video", nullptr, nullptr, "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {8, ".asf", ".asf", "msmpeg4", nullptr, "wmav2", "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {9, ".3gp", ".3gp", "mpeg4", nullptr, "libfaac", "1", "8000", 12000, 128000, "176*144", "12",
     "4:3", nullptr, nullptr, false},
    {10, ".wmv", ".wmv", "wmv2", nullptr, "wmav2", "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {11, ".mpg", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, -1000, -1000, nullptr,
     nullptr, nullptr, "dvd", "PAL", false},
    {12, ".mpg", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, -1000, -1000, nullptr,
     nullptr, nullptr, "svcd", "PAL", false},
    {13, ".mpg", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, -1000, -1000, nullptr,
     nullptr, nullptr, "vcd", "PAL", false},
    {14, ".rm", nullptr, "rv20", nullptr, nullptr, nullptr, nullptr, -1, -1, "320*240", nullptr,
     nullptr, nullptr, nullptr, false},
    {100, ".mp3", ".mp3", nullptr, nullptr, "libmp3lame", "2", "48000", 128000, -1, nullptr,
     nullptr, nullptr, nullptr, nullptr, true},
    {101, ".wma", ".wma", nullptr, nullptr, "wmav2", "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {102, ".wav", ".wav", nullptr, nullptr, nullptr, "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {103, ".aac", ".aac", nullptr, nullptr, "libfaac", "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {104, ".m4a", ".m4a", nullptr, nullptr, nullptr, "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {105, ".ogg", ".ogg", nullptr, nullptr, "libvorbis", "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {106, ".ra", ".rm", nullptr, nullptr, nullptr, "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {107, ".ac3", ".ac3", nullptr, nullptr, "ac3", "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {108, ".aiff", ".aiff", nullptr, nullptr, nullptr, "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {109, ".mp2", ".mp2", nullptr, nullptr, nullptr, "2", "44100", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {110, ".flac", ".flac", nullptr, nullptr, "flac", "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {111, ".m4a", ".m4a", nullptr, nullptr, nullptr, "2", "48000", 128000, -1, nullptr, nullptr,
     nullptr, nullptr, nullptr, true},
    {112, ".amr", ".amr", nullptr, nullptr, "libopencore_amrnb", "1", "8000", 7400, -1, nullptr,
     nullptr, nullptr, nullptr, nullptr, true},
    {2400, ".avi", ".avi", "libx264", nullptr, "libmp3lame", "2", "48000", 128000, 1000000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {2401, ".mp4", ".mp4", "mpeg4", nullptr, "libmp3lame", "2", "44100", 128000, 768000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {2402, ".mp4", ".mp4", "libxvid", nullptr, "libfaac", "2", "48000", 128000, 768000, "640*480",
     "25", nullptr, nullptr, nullptr, false},
    {2403, ".mp4", ".mp4", "libx264", nullptr, "libfaac", "2", "48000", 128000, 1500000, "800*600",
     "29.97", nullptr, nullptr, nullptr, false},
    {2404, ".avi", ".avi", "mpeg4", nullptr, "libmp3lame", "2", "44100", 128000, 1200000,
     "1024*768", "30", nullptr, nullptr, nullptr, false},
    {2405, ".avi", ".avi", "mpeg4", nullptr, "libmp3lame", "2", "48000", 128000, 1200000, nullptr,
     "29.97", nullptr, nullptr, nullptr, false},
    {2406, ".mkv", ".mkv", "mpeg4", "XVID", "libmp3lame", "2", "44100", 128000, 816000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {2407, ".mov", ".mov", nullptr, nullptr, "libfaac", "2", "48000", 128000, 768000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {2408, ".flv", ".flv", nullptr, nullptr, "libmp3lame", "2", "22050", 128000, 816000, "1280*720",
     "25", nullptr, nullptr, nullptr, false},
    {2409, ".3gp", ".3gp", "h263", nullptr, "libfaac", "2", "32000", 48000, 128000, "176*144", "12",
     nullptr, nullptr, nullptr, false},
    {2410, ".wmv", ".wmv", "wmv2", nullptr, "wmav2", "2", "44100", 128000, 600000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {2411, ".asf", ".asf", "msmpeg4", nullptr, "wmav2", "2", "44100", 128000, 816000, nullptr, "25",
     nullptr, nullptr, nullptr, false},
    {2412, ".mpg", ".mpg", "mpeg2video", nullptr, nullptr, "2", "44100", 128000, 600000, "640*480",
     "25", nullptr, nullptr, nullptr, false},
    {2413, ".mpg", ".mpg", "mpeg2video", nullptr, nullptr, "2", "44100", 128000, 816000, "800*600",
     "25", nullptr, nullptr, nullptr, false},
    {2414, ".mp4", ".mp4", "libxvid", nullptr, "libfaac", "2", "48000", 128000, 768000, "640*480",
     "25", nullptr, nullptr, nullptr, false},
    {2415, ".mp3", ".mp3", nullptr, nullptr, "libmp3lame", "2", "48000", 128000, -1, nullptr,
     nullptr, nullptr, nullptr, nullptr, true},
    {1000, ".mp4", ".mp4", "mpeg4", nullptr, "libmp3lame", "2", "44100", 128000, 528000, "320*240",
     "25", nullptr, nullptr, nullptr, false},
    {1001, ".mp4", ".mp4", "mpeg4", nullptr, "libmp3lame", "2", "44100", 128000, 768000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {1002, ".mp4", ".mp4", "libx264", nullptr, "libmp3lame", "2", "44100", 128000, 1200000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {1003, ".mp4", ".mp4", "libx264", nullptr, "libfaac", "2", "44100", 128000, 1200000, "320*240",
     "25", nullptr, nullptr, nullptr, false},
    {1004, ".mp4", ".mp4", "libx264", nullptr, "libmp3lame", "2", "44100", 128000, 1200000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {500, ".mp4", ".mp4", "mpeg4", nullptr, "libfaac", "2", "48000", 128000, 600000, "320*240",
     "29.97", nullptr, nullptr, nullptr, false},
    {501, ".mp4", ".mp4", "libx264", nullptr, "libfaac", "2", "48000", 128000, 768000, "320*240",
     "29.97", nullptr, nullptr, nullptr, false},
    {502, ".mp4", ".mp4", "libx264", nullptr, "libfaac", "2", "48000", 128000, 1200000, "320*240",
     "29.97", nullptr, nullptr, nullptr, false},
    {503, ".mp4", ".mp4", "libxvid", nullptr, "libfaac", "2", "48000", 128000, 384000, "320*240",
     "29.97", nullptr, nullptr, nullptr, false},
    {504, ".mp4", ".mp4", "libx264", nullptr, "libfaac", "2", "48000", 128000, 1000000, "640*480",
     "29.97", nullptr, nullptr, nullptr, false},
    {2500, ".avi", ".avi", "libx264", nullptr, "libmp3lame", "2", "48000", 128000, 1600000,
     "1280*720", "29.97", nullptr, nullptr, nullptr, false},
    {2501, ".avi", ".avi", "mpeg4", nullptr, "libmp3lame", "2", "48000", 128000, 816000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {2502, ".mp4", ".mp4", "mpeg4", nullptr, "libfaac", "2", "48000", 128000, 1200000, nullptr,
     nullptr, "16:9", nullptr, nullptr, false},
    {2503, ".mp4", ".mp4", "mpeg4", nullptr, "libfaac", "2", "48000", 128000, 1000000, "800*600",
     "30", nullptr, nullptr, nullptr, false},
    {2504, ".mp4", ".mp4", "libxvid", nullptr, "libfaac", "2", "48000", 128000, 1200000, "1024*768",
     "29.97", nullptr, nullptr, nullptr, false},
    {2505, ".mp4", ".mp4", "libx264", nullptr, "libfaac", "2", "48000", 128000, 1500000, "1280*720",
     "29.97", nullptr, nullptr, nullptr, false},
    {2506, ".mpg", ".mpg", "mpeg2video", nullptr, nullptr, "2", "44100", 128000, 600000, "640*480",
     "25", nullptr, nullptr, nullptr, false},
    {2507, ".mp4", ".mp4", "mpeg4", nullptr, "libfaac", "2", "48000", 128000, 1200000, nullptr,
     "29.97", "16:9", nullptr, nullptr, false},
    {2508, ".mkv", ".mkv", "libxvid", nullptr, "libmp3lame", "2", "44100", 128000, 1000000, nullptr,
     "29.97", nullptr, nullptr, nullptr, false},
    {2509, ".mov", ".mov", nullptr, nullptr, "libfaac", "2", "48000", 128000, 1200000, nullptr,
     "29.97", nullptr, nullptr, nullptr, false},
    {2510, ".flv", ".flv", nullptr, nullptr, "libmp3lame", "2", "22050", 128000, 816000, nullptr,
     "25", nullptr, nullptr, nullptr, false},
    {2511, ".wmv", ".wmv", "wmv2", nullptr, "wmav2", "2", "44100", 128000, 1200000, nullptr,
     "29.97", nullptr, nullptr, nullptr, false},
    {2512, ".mp3", ".mp3", nullptr, nullptr, "libmp3lame", "2", "44100", 128000, -1, nullptr,
     nullptr, nullptr, nullptr, nullptr, true},
};

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

} // namespace

void Profile::reset() {
    const QString keep = Video_AddFileName;
    *this = Profile{};
    Video_AddFileName = keep;
}

const ProfileRow* profileRow(int code) {
    for (const auto& row : kProfiles)
        if (row.code == code)
            return &row;
    return nullptr;
}

std::optional<QString> buildProfile(Profile& p, int code) {
    p.reset();
    const ProfileRow* row = profileRow(code);
    if (!row)
        return std::nullopt;
    p.Video_FileExt = text(row->fileExt);
    p.Video_VideoCodec = text(row->videoCodec);
    p.Video_VideoTag = text(row->videoTag);
    p.Video_AudioCodec = text(row->audioCodec);
    p.Video_AudioChannels = text(row->audioChannels);
    p.Video_AudioSampleRate = text(row->audioSampleRate);
    p.Video_AudioBitrate = row->audioBitrate;
    p.Video_VideoBitrate = row->videoBitrate;
    p.Video_FrameSize = text(row->frameSize);
    p.Video_FrameRate = text(row->frameRate);
    p.Video_FrameAspectRatio = text(row->aspect);
    p.Video_TargetType = text(row->targetType);
    p.Video_NormType = text(row->normType);
    p.Video_DisableVideo = row->audioOnly;
    return text(row->outputExt);
}

} // namespace catalogue

#include "Presets.h"

namespace catalogue {
namespace {

// The distinct lists. An entry listed twice is meant: FS7 offers "1920*1200" twice.
constexpr const char* kFS1[] = {
    "保持原分辨率", "128*96",    "176*144",   "240*176",   "320*240",   "352*240",   "352*288",
    "384*288",      "480*480",   "480*576",   "640*368",   "640*480",   "704*480",   "704*576",
    "720*480",      "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",  "1280*1024",
    "1600*1024",    "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr const char* kFS2[] = {"该格式无视频"};
constexpr const char* kFS3[] = {"112*96",  "128*96",  "160*112", "160*120", "176*144", "192*144",
                                "208*176", "220*176", "320*208", "320*224", "320*240"};
constexpr const char* kFS4[] = {
    "保持原分辨率", "128*96",    "176*144",   "160*120",   "320*240",   "352*288",  "368*208",
    "480*320",      "480*368",   "512*384",   "640*272",   "640*353",   "640*480",  "704*480",
    "704*576",      "720*480",   "720*576",   "800*600",   "852*480",   "1024*768", "1280*720",
    "1280*1024",    "1600*1024", "1600*1200", "1920*1080", "2048*1536", "2560*1600"};
constexpr const char* kFS5[] = {
    "保持原分辨率", "128*96",    "176*144",   "240*176",   "320*240",   "352*240",  "352*288",
    "384*288",      "480*480",   "480*576",   "640*368",   "640*480",   "704*480",  "704*576",
    "720*480",      "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720", "1280*1024",
    "1600*1024",    "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"};
constexpr const char* kFS6[] = {"保持原分辨率", "128*96",    "176*144",   "160*120",   "320*240",
                                "352*288",      "368*208",   "480*320",   "480*368",   "512*384",
                                "640*272",      "640*353",   "640*480",   "704*480",   "704*576",
                                "720*480",      "720*576",   "800*600",   "852*480",   "1024*768",
                                "1280*720",     "1280*1024", "1600*1024", "1600*1200", "1920*1080"};
constexpr const char* kFS7[] = {
    "保持原分辨率", "128*96",    "176*144",   "240*176",   "320*240",   "352*240",   "352*288",
    "384*288",      "480*480",   "480*576",   "640*368",   "640*480",   "704*480",   "704*576",
    "720*480",      "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",  "1280*1024",
    "1600*1024",    "1600*1200", "1920*1080", "1920*1200", "1920*1200", "2048*1536", "2560*1600"};
constexpr const char* kFS8[] = {"保持原分辨率", "128*96",  "176*144", "240*176", "320*240",
                                "352*240",      "352*288", "384*288", "480*480", "480*576",
                                "640*368",      "640*480", "704*480", "704*576", "720*480",
                                "720*576",      "800*600", "852*480", "1024*768"};
constexpr const char* kFS9[] = {"320*240", "368*208", "480*272", "640*480", "720*480"};
constexpr const char* kFS10[] = {"640*480",   "704*576",   "720*480",   "720*576",   "800*600",
                                 "852*480",   "1024*768",  "1280*720",  "1280*1024", "1600*1024",
                                 "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600"};
constexpr const char* kVB1[] = {"128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",
                                "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVB2[] = {"无视频"};
constexpr const char* kVB3[] = {"128 kbps",  "288 kbps",  "528 kbps",  "768 kbps", "816 kbps",
                                "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVB4[] = {"128 kbps",  "288 kbps",  "528 kbps",  "816 kbps", "1000 kbps",
                                "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVB5[] = {"8 kbps",   "16 kbps",  "24 kbps",  "32 kbps",  "48 kbps",
                                "56 kbps",  "64 kbps",  "80 kbps",  "96 kbps",  "128 kbps",
                                "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps"};
constexpr const char* kVB6[] = {"128 kbps",  "288 kbps",  "528 kbps",  "600 kbps", "816 kbps",
                                "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVB7[] = {"192 kbps",  "384 kbps",  "600 kbps",  "768 kbps",
                                "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
                                "2000 kbps", "2500 kbps", "3000 kbps"};
constexpr const char* kVB8[] = {"192 kbps",  "384 kbps",  "600 kbps",  "768 kbps", "1000 kbps",
                                "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVB9[] = {"128 kbps",  "288 kbps",  "528 kbps",  "816 kbps", "1200 kbps",
                                "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps"};
constexpr const char* kVB10[] = {"816 kbps",  "1200 kbps", "1600 kbps", "1800 kbps",
                                 "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr const char* kVB11[] = {"128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",
                                 "816 kbps",  "1200 kbps", "1600 kbps", "1800 kbps",
                                 "2000 kbps", "2500 kbps", "3000 kbps"};
constexpr const char* kVB12[] = {"216 kbps",  "384 kbps",  "512 kbps", "768 kbps",
                                 "1000 kbps", "1200 kbps", "1500 kbps"};
constexpr const char* kVB13[] = {"128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",  "816 kbps",
                                 "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps"};
constexpr const char* kFR1[] = {"保持原帧速率", "10.00", "13.00", "15.00", "18.00", "20.00",
                                "23.00",        "23.97", "24.00", "25.00", "29.97", "30.00"};
constexpr const char* kFR2[] = {"无视频"};
constexpr const char* kFR3[] = {"1", "2", "3", "5", "10", "12", "15"};
constexpr const char* kFR4[] = {"保持原帧速率", "10.00", "12.00", "15.00", "20.00",
                                "23.98",        "24.00", "25.00", "29.97", "30.00"};
constexpr const char* kFR5[] = {"保持原帧速率", "25.00", "29.97", "30.00"};
constexpr const char* kFR6[] = {"15.00", "23.98", "29.97"};
constexpr const char* kAB1[] = {"16 kbps",  "24 kbps",  "32 kbps",  "40 kbps",  "48 kbps",
                                "56 kbps",  "64 kbps",  "80 kbps",  "96 kbps",  "112 kbps",
                                "128 kbps", "144 kbps", "160 kbps", "192 kbps", "224 kbps",
                                "256 kbps", "320 kbps"};
constexpr const char* kAB2[] = {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"};
constexpr const char* kAB3[] = {"4.75 kbps", "5.15 kbps", "5.9 kbps",  "6.7 kbps",
                                "7.4 kbps",  "7.95 kbps", "10.2 kbps", "12.2 kbps"};
constexpr const char* kAB4[] = {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"};
constexpr const char* kAB5[] = {"48 kbps", "56 kbps",  "64 kbps",  "80 kbps",
                                "96 kbps", "112 kbps", "116 kbps", "128 kbps"};
constexpr const char* kSR1[] = {"11025", "22050", "44100"};
constexpr const char* kSR2[] = {"11025", "16000", "22050", "32000", "44100", "48000"};
constexpr const char* kSR3[] = {"8000"};
constexpr const char* kSR4[] = {"22050", "32000", "44100", "48000"};
constexpr const char* kSR5[] = {"8000", "11025", "16000", "22050", "32000", "44100", "48000"};
constexpr const char* kAR1[] = {"保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式",
                                "宽屏视频37:20模式", "宽屏视频47:20模式"};
constexpr const char* kAR2[] = {"无视频"};
constexpr const char* kAR3[] = {"保持原视频模式", "普通视频4:3模式"};

// For every live format code: frame size, video bit rate, frame rate, audio bit rate, sample
// rate and aspect list with the position of the default entry, and whether the format has no
// video.
constexpr PresetAssignment kAssignments[] = {
    {1100, {{{kFS1, 0}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR1, 1}, {kAR1, 0}}}, false},
    {1101, {{{kFS1, 0}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR1, 1}, {kAR1, 0}}}, false},
    {1102, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR1, 1}, {kAR2, 0}}}, true},
    {1103, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR1, 1}, {kAR2, 0}}}, true},
    {0, {{{kFS1, 0}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {7, {{{kFS1, 0}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {1, {{{kFS1, 0}, {kVB3, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2, {{{kFS1, 0}, {kVB4, 4}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {3, {{{kFS1, 0}, {kVB3, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {4, {{{kFS1, 0}, {kVB4, 4}, {kFR1, 0}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {5, {{{kFS1, 0}, {kVB1, 4}, {kFR1, 10}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {1003, {{{kFS1, 0}, {kVB1, 4}, {kFR1, 10}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {1004, {{{kFS1, 0}, {kVB1, 4}, {kFR1, 10}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {6, {{{kFS1, 4}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {8, {{{kFS1, 0}, {kVB1, 3}, {kFR1, 0}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {2411, {{{kFS1, 0}, {kVB1, 3}, {kFR1, 0}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {9, {{{kFS3, 4}, {kVB5, 9}, {kFR3, 5}, {kAB2, 5}, {kSR3, 0}, {kAR3, 0}}}, false},
    {10, {{{kFS1, 0}, {kVB6, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {11, {{{kFS1, 12}, {kVB1, 4}, {kFR1, 10}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {12, {{{kFS1, 8}, {kVB1, 2}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {13, {{{kFS1, 4}, {kVB1, 2}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {14, {{{kFS1, 4}, {kVB1, 2}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {100, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {101, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {105, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {107, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {108, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {109, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {2415, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {2512, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 4}, {kAR2, 0}}}, true},
    {102, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 13}, {kSR2, 5}, {kAR2, 0}}}, true},
    {110, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 13}, {kSR2, 5}, {kAR2, 0}}}, true},
    {103, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 10}, {kSR2, 5}, {kAR2, 0}}}, true},
    {104, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 9}, {kSR2, 4}, {kAR2, 0}}}, true},
    {106, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 9}, {kSR2, 4}, {kAR2, 0}}}, true},
    {111, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB1, 12}, {kSR2, 5}, {kAR2, 0}}}, true},
    {112, {{{kFS2, 0}, {kVB2, 0}, {kFR2, 0}, {kAB3, 4}, {kSR3, 0}, {kAR2, 0}}}, true},
    {2400, {{{kFS4, 0}, {kVB7, 4}, {kFR4, 7}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2401, {{{kFS5, 0}, {kVB3, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2402, {{{kFS6, 12}, {kVB8, 3}, {kFR4, 7}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2414, {{{kFS6, 12}, {kVB8, 3}, {kFR4, 7}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2403, {{{kFS6, 17}, {kVB7, 6}, {kFR4, 8}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2404, {{{kFS5, 18}, {kVB9, 4}, {kFR1, 11}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2405, {{{kFS5, 0}, {kVB10, 1}, {kFR5, 2}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {2406, {{{kFS5, 0}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2407, {{{kFS5, 0}, {kVB3, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {2408, {{{kFS7, 0}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR1, 1}, {kAR1, 0}}}, false},
    {2510, {{{kFS7, 0}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR1, 1}, {kAR1, 0}}}, false},
    {2409, {{{kFS3, 4}, {kVB5, 9}, {kFR3, 5}, {kAB5, 0}, {kSR5, 4}, {kAR1, 0}}}, false},
    {2410, {{{kFS5, 0}, {kVB6, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2412, {{{kFS5, 11}, {kVB11, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2506, {{{kFS5, 11}, {kVB11, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2413, {{{kFS5, 16}, {kVB11, 4}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {1000, {{{kFS8, 4}, {kVB1, 3}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {1001, {{{kFS1, 0}, {kVB1, 4}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {1002, {{{kFS1, 0}, {kVB1, 4}, {kFR1, 9}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {500, {{{kFS9, 0}, {kVB12, 3}, {kFR6, 2}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {501, {{{kFS9, 1}, {kVB12, 4}, {kFR6, 2}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {502, {{{kFS9, 1}, {kVB12, 5}, {kFR6, 2}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {503, {{{kFS9, 1}, {kVB12, 2}, {kFR6, 2}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {504, {{{kFS9, 4}, {kVB12, 4}, {kFR6, 2}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2500, {{{kFS5, 19}, {kVB10, 2}, {kFR5, 2}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {2501, {{{kFS5, 0}, {kVB10, 0}, {kFR5, 1}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {2502, {{{kFS6, 0}, {kVB7, 5}, {kFR4, 0}, {kAB4, 2}, {kSR4, 3}, {kAR1, 2}}}, false},
    {2503, {{{kFS10, 4}, {kVB8, 4}, {kFR4, 9}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2504, {{{kFS6, 19}, {kVB7, 5}, {kFR4, 8}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2505, {{{kFS6, 20}, {kVB7, 6}, {kFR4, 8}, {kAB4, 2}, {kSR4, 3}, {kAR1, 0}}}, false},
    {2507, {{{kFS6, 0}, {kVB7, 5}, {kFR4, 8}, {kAB4, 2}, {kSR4, 3}, {kAR1, 2}}}, false},
    {2508, {{{kFS5, 0}, {kVB4, 4}, {kFR1, 10}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
    {2509, {{{kFS5, 0}, {kVB3, 5}, {kFR1, 10}, {kAB1, 10}, {kSR2, 5}, {kAR1, 0}}}, false},
    {2511, {{{kFS5, 0}, {kVB13, 5}, {kFR1, 10}, {kAB1, 10}, {kSR2, 4}, {kAR1, 0}}}, false},
};

QStringList toStringList(std::span<const char* const> entries) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(entries.size()));
    for (const char* e : entries)
        out << QString::fromUtf8(e);
    return out;
}

const PresetListRef* listOf(int code, PresetKind kind) {
    const PresetAssignment* a = presetAssignment(code);
    return a ? &a->lists[static_cast<std::size_t>(index(kind))] : nullptr;
}

} // namespace

QString presetLabel(PresetKind kind) {
    switch (kind) {
    case PresetKind::FrameSize:
        return QStringLiteral("视频分辨率：");
    case PresetKind::VideoBitrate:
        return QStringLiteral("视频比特率：");
    case PresetKind::FrameRate:
        return QStringLiteral("视频帧率：");
    case PresetKind::AudioBitrate:
        return QStringLiteral("音频比特率：");
    case PresetKind::SampleRate:
        return QStringLiteral("音频采样率：");
    case PresetKind::Aspect:
        return QStringLiteral("视频缩放：");
    }
    return {};
}

const PresetAssignment* presetAssignment(int code) {
    for (const auto& a : kAssignments)
        if (a.code == code)
            return &a;
    return nullptr;
}

QStringList presetEntries(int code, PresetKind kind) {
    const PresetListRef* list = listOf(code, kind);
    return list ? toStringList(list->entries) : QStringList{};
}

int findPresetEntry(int code, PresetKind kind, const QString& text) {
    const PresetListRef* list = listOf(code, kind);
    if (!list)
        return -1;
    for (std::size_t i = 0; i < list->entries.size(); ++i)
        if (QString::fromUtf8(list->entries[i]) == text)
            return static_cast<int>(i);
    return -1;
}

std::optional<PresetPositions> defaultPresetPositions(int code) {
    const PresetAssignment* a = presetAssignment(code);
    if (!a)
        return std::nullopt;
    PresetPositions p{};
    for (int k = 0; k < kPresetKindCount; ++k)
        p[static_cast<std::size_t>(k)] = a->lists[static_cast<std::size_t>(k)].defaultPosition;
    return p;
}

std::optional<PresetTexts> presetTextsAt(int code, const PresetPositions& positions) {
    const PresetAssignment* a = presetAssignment(code);
    if (!a)
        return std::nullopt;
    PresetTexts texts;
    for (std::size_t k = 0; k < texts.size(); ++k) {
        const auto entries = a->lists[k].entries;
        const int pos = positions[k];
        if (pos < 0 || pos >= static_cast<int>(entries.size()))
            return std::nullopt;
        texts[k] = QString::fromUtf8(entries[static_cast<std::size_t>(pos)]);
    }
    return texts;
}

std::optional<PresetFillPlan> planPresetFill(int code, const PresetTexts& shownBefore) {
    const PresetAssignment* a = presetAssignment(code);
    if (!a)
        return std::nullopt;
    PresetFillPlan plan;
    for (std::size_t i = 0; i < kPresetFillOrder.size(); ++i) {
        const PresetKind kind = kPresetFillOrder[i];
        const auto k = static_cast<std::size_t>(index(kind));
        const PresetListRef& list = a->lists[k];
        PresetSelection& s = plan.selections[i];
        s.kind = kind;
        s.entries = toStringList(list.entries);
        s.position = list.defaultPosition;
        s.text = s.entries.value(s.position);
        s.textChanged = s.text != shownBefore[k];
    }
    if (a->videoListsDisabled)
        plan.disabled = kVideoPresetKinds;
    return plan;
}

} // namespace catalogue

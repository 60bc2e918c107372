#pragma once
// The conversion profile: what the chosen format asks of the engine, as the main window keeps
// it between a build and the moment a file is added. Plain value; no widgets.

#include <QString>

#include <cstdint>
#include <optional>

namespace catalogue {

struct Profile {
    QString Video_FileExt;           // container extension with its dot
    QString Video_VideoCodec;        // encoder name; "libx264" also brings its default preset
    QString Video_VideoTag;          // four-character stream tag
    QString Video_AudioCodec;        // encoder name; empty or "AUTO": the container's default
    QString Video_AudioChannels;     // decimal text
    QString Video_AudioSampleRate;   // decimal text in Hz; empty or "AUTO": the default
    int32_t Video_AudioBitrate = -1; // bits per second; -1000 keeps the engine's default
    int32_t Video_VideoBitrate = -1; // bits per second; -1000 keeps the engine's default
    QString Video_FrameSize;         // "W*H"; empty keeps the source size
    QString Video_FrameRate;         // "25", "29.97", "25.00"; empty keeps the source rate
    QString Video_FrameAspectRatio;  // "4:3", "16:9", "37:20", "47:20"
    QString Video_AudioVolume = QStringLiteral("256"); // 256 leaves the volume unchanged
    QString Video_TargetType;                          // "vcd", "svcd", "dvd"
    QString Video_NormType;                            // "PAL", "NTSC"
    bool Video_DisableVideo = false;                   // the output has no video stream
    QString Video_FileFormat;                          // muxer name
    QString Video_VideoFilters;                        // filter description
    QString Video_AddFileName;    // the input file being added; the reset keeps it
    QString Video_OutPutFileName; // its output path, set by the window after naming

    // Button6Click: every text empty except the volume "256", both bit rates -1, video on.
    // Video_AddFileName keeps its value.
    void reset();

    friend bool operator==(const Profile&, const Profile&) = default;
};

// One row of the profile table. nullptr means the field keeps its reset value.
struct ProfileRow {
    int code;
    const char* outputExt; // what the build gives the output file name
    const char* fileExt;   // Video_FileExt; differs from outputExt in seven rows
    const char* videoCodec;
    const char* videoTag;
    const char* audioCodec;
    const char* audioChannels;
    const char* audioSampleRate;
    int32_t audioBitrate;
    int32_t videoBitrate;
    const char* frameSize;
    const char* frameRate;
    const char* aspect;
    const char* targetType;
    const char* normType;
    bool audioOnly;
};

const ProfileRow* profileRow(int code); // nullptr for a code that is not live

// Button5Click steps 1-3: reset the profile and assign the row of `code`. Returns the output
// extension that names the file being added, or nothing (profile only reset) for a code that
// is not live.
std::optional<QString> buildProfile(Profile& profile, int code);

} // namespace catalogue

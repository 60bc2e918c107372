#include "LibraryVersions.h"

#include "AvPtr.h"

#include <QStringList>

extern "C" {
#include <libavutil/avutil.h>
}

namespace engine::player {

namespace {
int majorOf(unsigned version) {
    return static_cast<int>(version >> 16);
}
} // namespace

QList<LibraryVersion> linkedLibraryVersions() {
    return {
        {QStringLiteral("libavformat"), LIBAVFORMAT_VERSION_MAJOR, majorOf(avformat_version())},
        {QStringLiteral("libavcodec"), LIBAVCODEC_VERSION_MAJOR, majorOf(avcodec_version())},
        {QStringLiteral("libavutil"), LIBAVUTIL_VERSION_MAJOR, majorOf(avutil_version())},
        {QStringLiteral("libswscale"), LIBSWSCALE_VERSION_MAJOR, majorOf(swscale_version())},
        {QStringLiteral("libswresample"), LIBSWRESAMPLE_VERSION_MAJOR,
         majorOf(swresample_version())},
    };
}

QString versionMismatchText(const QList<LibraryVersion>& libraries) {
    QStringList wrong;
    for (const LibraryVersion& lib : libraries) {
        if (lib.builtMajor != lib.runningMajor)
            wrong << QStringLiteral("%1 编译时主版本为 %2，运行时为 %3")
                         .arg(lib.name)
                         .arg(lib.builtMajor)
                         .arg(lib.runningMajor);
    }
    if (wrong.isEmpty())
        return {};
    return QStringLiteral("FFmpeg 库版本不符：") + wrong.join(QStringLiteral("；"));
}

} // namespace engine::player

#include "LibraryVersions.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <QStringList>

namespace engine {

QString libraryVersionMismatch(std::span<const LibraryVersion> libraries) {
    QStringList wrong;
    for (const LibraryVersion& lib : libraries) {
        const unsigned major = AV_VERSION_MAJOR(lib.runningVersion);
        if (major != lib.builtMajor)
            wrong << QStringLiteral("%1 的版本是 %2.%3.%4，本程序需要 %5.x")
                         .arg(QString::fromLatin1(lib.name))
                         .arg(major)
                         .arg(AV_VERSION_MINOR(lib.runningVersion))
                         .arg(AV_VERSION_MICRO(lib.runningVersion))
                         .arg(lib.builtMajor);
    }
    if (wrong.isEmpty())
        return {};
    return QStringLiteral("FFmpeg 库的版本不符：") + wrong.join(QStringLiteral("；"));
}

QString runningLibraryMismatch() {
    const LibraryVersion libraries[] = {
        {"libavutil", LIBAVUTIL_VERSION_MAJOR, avutil_version()},
        {"libavcodec", LIBAVCODEC_VERSION_MAJOR, avcodec_version()},
        {"libavformat", LIBAVFORMAT_VERSION_MAJOR, avformat_version()},
        {"libavfilter", LIBAVFILTER_VERSION_MAJOR, avfilter_version()},
        {"libswscale", LIBSWSCALE_VERSION_MAJOR, swscale_version()},
        {"libswresample", LIBSWRESAMPLE_VERSION_MAJOR, swresample_version()},
    };
    return libraryVersionMismatch(libraries);
}

} // namespace engine

#include "FileIdentity.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace engine {

namespace {
// The canonical form of a path whose file may not exist yet: its folder's canonical path
// plus its name.
QString canonicalOf(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
    return dir.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : dir + '/' + info.fileName();
}
} // namespace

bool isSameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
        QDir::cleanPath(QFileInfo(b).absoluteFilePath()))
        return true;
    if (canonicalOf(a) == canonicalOf(b))
        return true;
    std::error_code ec;
    const bool same = std::filesystem::equivalent(std::filesystem::path(a.toStdU16String()),
                                                  std::filesystem::path(b.toStdU16String()), ec);
    return !ec && same;
}

} // namespace engine

#include "Product.h"

#include <QCoreApplication>
#include <QDesktopServices>

namespace about {

QUrl ProductWebSiteUrl() {
    return QUrl(QString::fromLatin1(ProductWebSite));
}

QUrl HelpFileUrl() {
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() +
                               QStringLiteral("/help.chm"));
}

bool OpenWithShell(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void OpenProductWebSite(const UrlOpener& open) {
    if (open)
        open(ProductWebSiteUrl());
}

void OpenHelpFile(const UrlOpener& open) {
    if (open)
        open(HelpFileUrl());
}

} // namespace about

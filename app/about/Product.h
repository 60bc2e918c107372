#pragma once
// The product's fixed facts and the shell commands that only open something: the web site
// (menu "官方网站" and both link labels) and the help file "help.chm" beside the program.
// Opening goes through the system's default handler; a failure is not reported.

#include <QString>
#include <QUrl>

#include <functional>

namespace about {

inline constexpr char ProductTitle[] = "晨帆FLV视频转换器";
inline constexpr char ProductVersion[] = "17.1.0.0";
// The product's own page; the one address used everywhere.
inline constexpr char ProductWebSite[] = "https://chenfan-converter.example/";

QUrl ProductWebSiteUrl();
// "help.chm" in the folder of the running program; its existence is not checked.
QUrl HelpFileUrl();

// Asks the system to open an address or file; returns whether it said it did.
using UrlOpener = std::function<bool(const QUrl&)>;
bool OpenWithShell(const QUrl& url);

void OpenProductWebSite(const UrlOpener& open = OpenWithShell);
void OpenHelpFile(const UrlOpener& open = OpenWithShell);

} // namespace about

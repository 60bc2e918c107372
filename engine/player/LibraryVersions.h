#pragma once
// Whether the FFmpeg libraries now running are the ones the program was built against.

#include <QList>
#include <QString>

namespace engine::player {

struct LibraryVersion {
    QString name;         // "libavcodec"
    int builtMajor = 0;   // from the headers at build time
    int runningMajor = 0; // from the library's own version function
};

// The libraries the player uses, with both major versions.
QList<LibraryVersion> linkedLibraryVersions();

// Empty when every library matches; otherwise one message naming each library that differs.
QString versionMismatchText(const QList<LibraryVersion>& libraries);

} // namespace engine::player

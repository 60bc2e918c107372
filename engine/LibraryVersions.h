#pragma once
// The FFmpeg libraries the program was built with against the ones it runs with.

#include <QString>

#include <span>

namespace engine {

struct LibraryVersion {
    const char* name;
    unsigned builtMajor;
    unsigned runningVersion; // as the library's *_version() returns it
};

// Empty when every running library has the major version the program was built with;
// otherwise a sentence naming each library that differs and both versions.
QString libraryVersionMismatch(std::span<const LibraryVersion> libraries);

// The six libraries the engine uses.
QString runningLibraryMismatch();

} // namespace engine

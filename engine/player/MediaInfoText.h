#pragma once
// A readable description of an opened input (container, duration, each stream), one fact a
// line, for the window's diagnostic log.

#include <QString>

struct AVFormatContext;

namespace engine::player {

QString mediaInfoText(const AVFormatContext* input, const QString& fileName);

} // namespace engine::player

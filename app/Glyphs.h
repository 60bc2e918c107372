#pragma once
// The window's own pictures, drawn with QPainter when first asked for: tool-button glyphs in a
// normal and a greyed form, the category and format images, the empty-list picture, the
// preview buttons and the program's logo.

#include <QIcon>
#include <QPixmap>

namespace glyphs {

enum class Tool { Add, Remove, Clear, Start, Stop, Pause, Resume, Options, Skin };
enum class Small { MoveDown, MoveUp, Rename, Play, Pause, Stop, Mute, Unmute, Snapshot, Settings };

QPixmap tool(Tool t, bool greyed);    // 32 x 32
QPixmap small(Small s, bool greyed);  // 20 x 20
QPixmap categoryImage(int index);     // 24 x 24; the category image list (indexes 0..13)
QPixmap formatImage(int index);       // 40 x 40; the format image list (0 and 1)
QPixmap emptyListPicture(QSize size); // the picture over an empty file list
QPixmap logo(QSize size);             // the program's logo
QIcon appIcon();

} // namespace glyphs

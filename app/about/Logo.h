#pragma once
// The program's logo, drawn here: a sail over a strip of film on a blue tile, with a
// transparent background.

#include <QPixmap>

namespace about {

QPixmap ChenfanLogo(const QSize& size = QSize(53, 57));

} // namespace about

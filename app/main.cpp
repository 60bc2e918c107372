#include "Glyphs.h"
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("晨帆FLV视频转换器"));
    QApplication::setApplicationDisplayName(QStringLiteral("晨帆FLV视频转换器"));
    QApplication::setApplicationVersion(QStringLiteral("17.1.0.0"));
    QApplication::setWindowIcon(glyphs::appIcon());

    TForm1 form1;
    form1.show();
    return QApplication::exec();
}

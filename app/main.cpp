#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("晨帆FLV视频转换器"));
    QApplication::setApplicationVersion(QStringLiteral("17.1.0.0"));
    QMainWindow w;
    w.show();
    return QApplication::exec();
}

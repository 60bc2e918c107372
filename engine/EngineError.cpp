#include "EngineError.h"

#include "AvPtr.h"

namespace engine {

QString stageName(Stage stage) {
    switch (stage) {
    case Stage::Open:
        return QStringLiteral("打开");
    case Stage::Decode:
        return QStringLiteral("解码");
    case Stage::Filter:
        return QStringLiteral("滤镜");
    case Stage::Encode:
        return QStringLiteral("编码");
    case Stage::Write:
        return QStringLiteral("写入");
    case Stage::Setup:
        break;
    }
    return QStringLiteral("设置");
}

EngineError::EngineError(Stage stage, const QString& what, const QString& file, int avError)
    : stage_(stage), avError_(avError) {
    text_ = QStringLiteral("%1失败：%2").arg(stageName(stage), what);
    if (!file.isEmpty())
        text_ += QStringLiteral("。文件：“%1”").arg(file);
    if (avError != 0)
        text_ += QStringLiteral("。原因：%1").arg(avErrorText(avError));
    utf8_ = text_.toStdString();
}

} // namespace engine

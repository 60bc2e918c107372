#include "Skins.h"

#include "SettingRules.h"
#include "SkinChooserDialog.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QStyleFactory>

#include <array>

// The resource lives in a static library; nothing else would pull its initialiser in.
static void initSkinResources() {
    Q_INIT_RESOURCE(skins);
}

namespace skins {

namespace {

struct SkinEntry {
    const char* name;     // UTF-8
    const char* resource; // file under ":/skins/"
};

constexpr std::array<SkinEntry, SkinCount> kSkins{{
    {"OFFICE2007蓝色", "office2007_remix.json"},
    {"金属光泽", "imetal2.json"},
    {"银色天地", "easylinecolor.json"},
    {"Mac风格", "snowleopard.json"},
    {"条纹色调", "ampix2.json"},
    {"纹理风格", "ampix3.json"},
    {"Ampix效果", "ampix.json"},
    {"绿色世界", "powerform_green.json"},
    {"深蓝色彩", "cyberobject.json"},
    {"OFFICE2007", "office2007_silver.json"},
}};

QByteArray resource(const QString& name) {
    initSkinResources();
    QFile file(QStringLiteral(":/skins/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fills the ${name} slots of the shared sheet with the skin's values. A slot the skin does not
// fill is left as it stands, which Qt's sheet parser rejects loudly.
QString fillTemplate(QString sheet, const QJsonObject& values) {
    static const QRegularExpression slot(QStringLiteral("\\$\\{([a-z_]+)\\}"));
    QString out;
    qsizetype last = 0;
    for (auto it = slot.globalMatch(sheet); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(sheet).mid(last, m.capturedStart() - last);
        const QJsonValue value = values.value(m.captured(1));
        out += value.isString() ? value.toString() : m.captured(0);
        last = m.capturedEnd();
    }
    out += QStringView(sheet).mid(last);
    return out;
}

QPalette paletteFrom(const QJsonObject& colours) {
    const QColor button(colours.value(QStringLiteral("Button")).toString());
    const QColor window(colours.value(QStringLiteral("Window")).toString());
    QPalette palette(button, window); // derives the light and shadow shades
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    for (auto it = colours.begin(); it != colours.end(); ++it) {
        bool ok = false;
        const int role = roles.keyToValue(it.key().toLatin1().constData(), &ok);
        if (ok)
            palette.setColor(QPalette::All, static_cast<QPalette::ColorRole>(role),
                             QColor(it.value().toString()));
    }
    const QColor disabled(colours.value(QStringLiteral("PlaceholderText")).toString());
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    return palette;
}

} // namespace

QString SkinName(int index) {
    if (index < 0 || index >= SkinCount)
        return {};
    return QString::fromUtf8(kSkins[static_cast<size_t>(index)].name);
}

QStringList SkinNames() {
    QStringList names;
    for (int i = 0; i < SkinCount; ++i)
        names << SkinName(i);
    return names;
}

SkinLook LoadSkin(int index) {
    if (index < 0 || index >= SkinCount)
        return {};
    const QJsonObject skin =
        QJsonDocument::fromJson(
            resource(QString::fromLatin1(kSkins[static_cast<size_t>(index)].resource)))
            .object();
    QString sheet = fillTemplate(QString::fromUtf8(resource(QStringLiteral("template.qss"))),
                                 skin.value(QStringLiteral("vars")).toObject());
    for (const QJsonValue rule : skin.value(QStringLiteral("extra")).toArray())
        sheet += QLatin1Char('\n') + rule.toString();
    return {sheet, paletteFrom(skin.value(QStringLiteral("palette")).toObject())};
}

SkinEngine::SkinEngine(QObject* parent) : QObject(parent) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    apply(InitialSkin);
}

bool SkinEngine::SelectSkin(int index) {
    if (index == m_active || index < 0 || index >= SkinCount)
        return false;
    apply(index);
    emit activeSkinChanged(index);
    return true;
}

void SkinEngine::apply(int index) {
    const SkinLook look = LoadSkin(index);
    // Palette first: the sheet is polished against it.
    QApplication::setPalette(look.palette);
    qApp->setStyleSheet(look.styleSheet);
    m_active = index;
}

QString LoadSkinSetting(SkinEngine& engine, const settings::SettingsFile& file) {
    const auto stored = settings::ReadSkinIndex(file);
    engine.SelectSkin(stored.value);
    return stored.writeError;
}

void SaveSkinSetting(const SkinEngine& engine, const settings::SettingsFile& file) {
    settings::WriteSkinIndex(file, engine.activeIndex());
}

std::optional<int> ExecSkinChooser(QWidget* parent, int activeIndex) {
    SkinChooserDialog dialog(activeIndex, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenIndex();
}

void ChooseSkin(SkinEngine& engine, const settings::SettingsFile& file, QWidget* parent,
                const SkinChooser& chooser) {
    if (const auto chosen = chooser(parent, engine.activeIndex()))
        engine.SelectSkin(*chosen);
    SaveSkinSetting(engine, file);
}

} // namespace skins

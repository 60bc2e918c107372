#pragma once
// The ten skins of the program and the one that is active. A skin is a Qt style sheet with a
// palette, both compiled into the program as a compressed resource; applying one sets them on
// the whole application, so every window that exists or is opened later (main window, dialogs,
// message boxes, menus) is redrawn in it at once. User-interface thread only.

#include "SettingsFile.h"

#include <QObject>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace skins {

inline constexpr int SkinCount = 10;
// The skin that is active while the main window is built, before the stored one is applied.
inline constexpr int InitialSkin = 1;

// The name shown for a skin, e.g. 0 "OFFICE2007蓝色", 9 "OFFICE2007"; empty outside 0..9.
QString SkinName(int index);
QStringList SkinNames();

struct SkinLook {
    QString styleSheet;
    QPalette palette;
};
// The look of skin `index` (0..9) from the resource. An index outside the list gives an
// empty style sheet and the default palette.
SkinLook LoadSkin(int index);

// The active skin. One per program, made before the main window's widgets.
class SkinEngine : public QObject {
    Q_OBJECT
public:
    // Sets Qt's Fusion style under the sheets and makes skin 1 active.
    explicit SkinEngine(QObject* parent = nullptr);

    int activeIndex() const { return m_active; }

    // The skin index rule: the active index or one outside 0..9 changes nothing (false);
    // otherwise that skin is applied to the whole application and becomes the active one.
    bool SelectSkin(int index);

signals:
    void activeSkinChanged(int index);

private:
    void apply(int index);
    int m_active = -1;
};

// "读入皮肤ini": applies the stored skin by the skin index rule; a missing value writes "0"
// back and applies skin 0; a value that is no integer, or outside the list, leaves the skin in
// force. Returns the text of a failed write-back, empty otherwise.
QString LoadSkinSetting(SkinEngine& engine, const settings::SettingsFile& file);
// "写入皮肤ini": stores the active index. Throws settings::SettingsWriteError.
void SaveSkinSetting(const SkinEngine& engine, const settings::SettingsFile& file);

// Shows a chooser with `activeIndex` preselected; the chosen index, or nothing if cancelled.
using SkinChooser = std::function<std::optional<int>(QWidget* parent, int activeIndex)>;
// The real one: the modal "Select skin" dialog.
std::optional<int> ExecSkinChooser(QWidget* parent, int activeIndex);

// "皮肤" and "软件皮肤": opens the chooser, applies a confirmed choice by the skin index rule,
// and stores the active index whether confirmed or cancelled. Throws
// settings::SettingsWriteError when storing fails (the chosen skin stays applied).
void ChooseSkin(SkinEngine& engine, const settings::SettingsFile& file, QWidget* parent,
                const SkinChooser& chooser = ExecSkinChooser);

} // namespace skins

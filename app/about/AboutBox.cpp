#include "AboutBox.h"

#include "LinkLabel.h"
#include "Logo.h"
#include "MagneticEdges.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <utility>

namespace about {

namespace {

// Windows' 黑体 and 宋体 first, then the Chinese fonts a Linux desktop has.
QFont chineseFont(const QStringList& preferred, int pixelSize, bool bold) {
    QFont font;
    font.setFamilies(preferred + QStringList{QStringLiteral("WenQuanYi Micro Hei"),
                                             QStringLiteral("Noto Sans CJK SC"),
                                             QStringLiteral("Droid Sans Fallback")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Puts a one-line label at its place; where the font on this system is larger than the one the
// layout was drawn for, the label grows right and evenly up and down so no text is cut.
void place(QLabel* label, const QRect& rect) {
    const QSize text = label->fontMetrics().size(Qt::TextSingleLine, label->text());
    QRect r = rect;
    r.setWidth(std::max(rect.width(), text.width() + 2));
    if (text.height() > rect.height())
        r.adjust(0, -(text.height() - rect.height() + 1) / 2, 0,
                 (text.height() - rect.height()) / 2);
    label->setGeometry(r);
}

} // namespace

TForm2::TForm2(QWidget* parent, UrlOpener open)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("关于软件"));
    setFixedSize(332, 231);

    auto* title = new QLabel(QString::fromUtf8(ProductTitle), this);
    title->setFont(chineseFont({QStringLiteral("黑体"), QStringLiteral("SimHei")}, 20, false));
    place(title, {99, 20, 170, 20});

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(ChenfanLogo());
    logo->setGeometry(48, 58, 53, 57);

    auto* version = new QLabel(QStringLiteral("Ver:") + QString::fromLatin1(ProductVersion), this);
    version->setFont(chineseFont(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")}, 19,
        true));
    place(version, {154, 72, 132, 19});

    auto* siteLabel = new QLabel(QStringLiteral("官方网站："), this);
    place(siteLabel, {48, 124, 60, 13});

    m_link = new LinkLabel(ProductWebSiteUrl(), this, std::move(open));
    m_link->setGeometry(107, 112, 153, 33);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("bsSkinButton1"));
    ok->setGeometry(228, 180, 69, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    m_roll = new QToolButton(this);
    m_roll->setObjectName(QStringLiteral("rollUp"));
    m_roll->setGeometry(308, 3, 20, 16);
    m_roll->setAutoRaise(true);
    m_roll->setFocusPolicy(Qt::NoFocus);
    connect(m_roll, &QToolButton::clicked, this, [this] { setRolledUp(!m_rolledUp); });
    setRolledUp(false);
}

void TForm2::setRolledUp(bool rolledUp) {
    m_rolledUp = rolledUp;
    // Rolled up, only the strip with the button stays; the content keeps its places, hidden.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != m_roll)
            child->setVisible(!rolledUp);
    }
    setFixedSize(332, rolledUp ? RolledUpHeight : 231);
    m_roll->setArrowType(rolledUp ? Qt::DownArrow : Qt::UpArrow);
    m_roll->setToolTip(rolledUp ? QStringLiteral("展开") : QStringLiteral("卷起"));
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each showing starts unrolled, with "确定" in reach.
    if (m_rolledUp)
        setRolledUp(false);
    // Centred on the desktop, not on the window that opened it.
    const QScreen* desktop = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!desktop)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(desktop->availableGeometry().center());
    move(frame.topLeft());
}

void TForm2::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    const QScreen* desktop = screen() ? screen() : QGuiApplication::primaryScreen();
    if (m_snapping || !desktop || !isVisible())
        return;
    const QRect frame = frameGeometry();
    const QPoint snapped = snapToEdges(frame, desktop->availableGeometry(), MagneticDistance);
    if (snapped == frame.topLeft())
        return;
    m_snapping = true; // the move below comes back here
    move(snapped);
    m_snapping = false;
}

} // namespace about

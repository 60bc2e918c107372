#include "PresetChoice.h"

#include "Formats.h"

#include <limits>

namespace catalogue {
namespace {

bool allAsciiDigits(QStringView s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The word entries that mean "keep what the source has" or "no video".
bool isKeepOrNone(PresetKind kind, const QString& t) {
    switch (kind) {
    case PresetKind::FrameSize:
        return t == QStringLiteral("保持原分辨率") || t == QStringLiteral("该格式无视频");
    case PresetKind::FrameRate:
        return t == QStringLiteral("保持原帧速率") || t == QStringLiteral("无视频");
    case PresetKind::Aspect:
        return t == QStringLiteral("保持原视频模式") || t == QStringLiteral("无视频");
    default:
        return false;
    }
}

QString aspectOf(const QString& t) {
    if (t == QStringLiteral("普通视频4:3模式"))
        return QStringLiteral("4:3");
    if (t == QStringLiteral("宽屏视频16:9模式"))
        return QStringLiteral("16:9");
    if (t == QStringLiteral("宽屏视频37:20模式"))
        return QStringLiteral("37:20");
    if (t == QStringLiteral("宽屏视频47:20模式"))
        return QStringLiteral("47:20");
    return {};
}

// Storage order of "视频选项".
constexpr PresetKind kStoredOrder[] = {PresetKind::FrameSize,    PresetKind::VideoBitrate,
                                       PresetKind::AudioBitrate, PresetKind::Aspect,
                                       PresetKind::FrameRate,    PresetKind::SampleRate};

// Nine or less gets a leading "0"; so -1 becomes "0-1", as the window has always written it.
QString twoDigits(int position) {
    return position <= 9 ? QStringLiteral("0") + QString::number(position)
                         : QString::number(position);
}

} // namespace

std::optional<int32_t> kbpsToBitsPerSecond(const QString& text) {
    const qsizetype at = text.indexOf(QStringLiteral("kbps"));
    const QString number = (at < 0 ? text : text.left(at)).trimmed();
    const qsizetype dot = number.indexOf(u'.');
    const QStringView whole = dot < 0 ? QStringView(number) : QStringView(number).left(dot);
    const QStringView fraction = dot < 0 ? QStringView() : QStringView(number).mid(dot + 1);
    if (!allAsciiDigits(whole) || (dot >= 0 && !allAsciiDigits(fraction)))
        return std::nullopt;
    // Thousandths of a kbps are whole bits; anything finer is not a rate of these lists.
    QString milli = fraction.toString();
    while (milli.size() > 3 && milli.endsWith(u'0'))
        milli.chop(1);
    if (milli.size() > 3)
        return std::nullopt;
    milli = milli.leftJustified(3, u'0');
    bool ok = false;
    const qlonglong kbps = whole.toLongLong(&ok);
    if (!ok || kbps > std::numeric_limits<int32_t>::max() / 1000)
        return std::nullopt;
    const qlonglong bits = kbps * 1000 + milli.toLongLong();
    if (bits > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(bits);
}

bool applyPresetText(Profile& p, PresetKind kind, const QString& t) {
    switch (kind) {
    case PresetKind::FrameSize:
        p.Video_FrameSize = isKeepOrNone(kind, t) ? QString() : t;
        return true;
    case PresetKind::FrameRate:
        p.Video_FrameRate = isKeepOrNone(kind, t) ? QString() : t;
        return true;
    case PresetKind::VideoBitrate: {
        if (t == QStringLiteral("无视频")) {
            p.Video_VideoBitrate = -1000;
            return true;
        }
        const auto bits = kbpsToBitsPerSecond(t);
        if (!bits)
            return false;
        p.Video_VideoBitrate = *bits;
        return true;
    }
    case PresetKind::SampleRate:
        p.Video_AudioSampleRate = t;
        return true;
    case PresetKind::AudioBitrate: {
        const auto bits = kbpsToBitsPerSecond(t);
        if (!bits)
            return false;
        p.Video_AudioBitrate = *bits;
        return true;
    }
    case PresetKind::Aspect:
        p.Video_FrameAspectRatio = isKeepOrNone(kind, t) ? QString() : aspectOf(t);
        return true;
    }
    return false;
}

bool applyPresetTexts(Profile& p, const PresetTexts& shown) {
    constexpr PresetKind order[] = {PresetKind::FrameSize,    PresetKind::FrameRate,
                                    PresetKind::VideoBitrate, PresetKind::SampleRate,
                                    PresetKind::AudioBitrate, PresetKind::Aspect};
    bool ok = true;
    for (PresetKind k : order)
        ok = applyPresetText(p, k, shown[static_cast<std::size_t>(index(k))]) && ok;
    return ok;
}

QString presetFieldText(const Profile& p, PresetKind kind) {
    switch (kind) {
    case PresetKind::FrameSize:
        return p.Video_FrameSize;
    case PresetKind::VideoBitrate:
        return QString::number(p.Video_VideoBitrate);
    case PresetKind::FrameRate:
        return p.Video_FrameRate;
    case PresetKind::AudioBitrate:
        return QString::number(p.Video_AudioBitrate);
    case PresetKind::SampleRate:
        return p.Video_AudioSampleRate;
    case PresetKind::Aspect:
        return p.Video_FrameAspectRatio;
    }
    return {};
}

std::optional<PresetTexts> presetColumnTexts(int code, const PresetPositions& positions) {
    const auto shown = presetTextsAt(code, positions);
    if (!shown)
        return std::nullopt;
    Profile p;
    if (!applyPresetTexts(p, *shown))
        return std::nullopt;
    PresetTexts columns;
    for (int k = 0; k < kPresetKindCount; ++k)
        columns[static_cast<std::size_t>(k)] = presetFieldText(p, static_cast<PresetKind>(k));
    return columns;
}

int presetPositionOffset(PresetKind kind) {
    for (int i = 0; i < kPresetKindCount; ++i)
        if (kStoredOrder[i] == kind)
            return 2 * i;
    return -1;
}

QString encodePresetPositions(const PresetPositions& positions) {
    QString out;
    for (PresetKind k : kStoredOrder)
        out += twoDigits(positions[static_cast<std::size_t>(index(k))]);
    return out;
}

std::optional<PresetPositions> decodePresetPositions(const QString& text) {
    if (text.size() != 2 * kPresetKindCount || !allAsciiDigits(text))
        return std::nullopt;
    PresetPositions p{};
    for (int i = 0; i < kPresetKindCount; ++i)
        p[static_cast<std::size_t>(index(kStoredOrder[i]))] =
            QStringView(text).mid(2 * i, 2).toInt();
    return p;
}

QString replacePresetPosition(const QString& text, PresetKind kind, int position) {
    // A text too short to hold the slot is not one the window wrote; leave it as it is.
    const int at = presetPositionOffset(kind);
    if (text.size() < at + 2)
        return text;
    QString out = text;
    out.replace(at, 2, twoDigits(position));
    return out;
}

std::optional<FormatPositions> decodeRowFormatKey(const QString& text) {
    if (text.size() > 9 || !allAsciiDigits(text))
        return std::nullopt;
    const int v = text.toInt();
    const int a = v / 100;
    const FormatPositions fp{a - 1, v - 100 * a};
    if (!formatAt(fp.category, fp.format))
        return std::nullopt;
    return fp;
}

std::optional<FormatPositions> positionsOfFormat(int code) {
    const auto cats = categories();
    for (int c = 0; c < static_cast<int>(cats.size()); ++c) {
        const auto list = cats[static_cast<std::size_t>(c)].formats;
        for (int f = 0; f < static_cast<int>(list.size()); ++f)
            if (list[static_cast<std::size_t>(f)].code == code)
                return FormatPositions{c, f};
    }
    return std::nullopt;
}

} // namespace catalogue

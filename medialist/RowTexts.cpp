#include "RowTexts.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <array>
#include <cfenv>
#include <cmath>

namespace medialist {

QString SecToDate(int64_t seconds) {
    const int64_t s = seconds % 60;
    const int64_t m = ((seconds - s) / 60) % 60;
    const int64_t h = ((seconds - s - 60 * m) / 3600) % 24;
    return QString::asprintf("%.2d:%.2d:%.2d", static_cast<int>(h), static_cast<int>(m),
                             static_cast<int>(s));
}

QString durationText(int64_t microseconds) {
    if (microseconds <= 0)
        return QStringLiteral("N/A");
    return SecToDate(microseconds / 1000000);
}

QString sizeText(int64_t bytes) {
    const double hundredths = static_cast<double>(bytes) / 1024.0 / 1024.0 * 100.0;
    // nearbyint follows the rounding mode, which is round-half-to-even unless changed
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(hundredths);
    std::fesetround(saved);
    QString text = QString::number(rounded / 100.0, 'f', 2);
    while (text.contains(QLatin1Char('.')) &&
           (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text + QStringLiteral("MB");
}

namespace {
constexpr std::array<FilterEntry, 42> kFilters{{
    {"所有文件格式 (*.*)", "*.*"},
    {"支持的视频/音频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*."
     "RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.SWF;*.FLAC;*.M4A;*.MID;*.MKA;"
     "*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*"
     ".yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的视频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*."
     "RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.SWF;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*."
     "yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的音频文件格式", "*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*."
                           "MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3"},
    {"AVI文件 (*.avi)", "*.avi"},
    {"Real视频文件格式 (*.rm;*.rmvb)", "*.rm;*.rmvb"},
    {"MP4视频格式 (*.mp4;*.m4v)", "*.mp4;*.m4v"},
    {"MPEG视频格式 (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},
    {"DVD视频格式 (*.vob)", "*.vob"},
    {"VCD/SVCD视频格式 (*.dat;*.mpg)", "*.dat;*.mpg"},
    {"ASF微软视频格式 (*.asf)", "*.asf"},
    {"WMV微软视频格式 (*.wmv)", "*.wmv"},
    {"手机3GPP文件格式 (*.3gp;*.3gpp)", "*.3gp;*.3gpp"},
    {"手机3GPP2文件格式 (*.3g2;*.3gp2)", "*.3g2;*.3gp2"},
    {"Flash动画格式 (*.swf)", "*.swf"},
    {"Flash视频格式 (*.flv)", "*.flv"},
    {"MKV视频媒体格式 (*.mkv)", "*.mkv"},
    {"Quick Time视频文件格式 (*.mov;*.qt)", "*.mov;*.qt"},
    {"DV数字视频文件格式 (*.dv;*.dif)", "*.dv;*.dif"},
    {"Raw h261类型文件 (*.h261)", "*.h261"},
    {"Raw h264类型文件 (*.h264)", "*.h264"},
    {"YUV类型文件 (*.yuv)", "*.yuv"},
    {"GIF图片动画格式 (*.gif)", "*.gif"},
    {"MJPEG视频格式(*.mjpg;*.mjpeg)", "*.mjpg;*.mjpeg"},
    {"TS视频格式 (*.ts)", "*.ts"},
    {"WMV高清HD视频格式 (*.xwmv)", "*.xwmv"},
    {"微软数字视频格式( *.dvr-ms)", "*.dvr-ms"},
    {"iTunes视频格式 (*.m4v)", "*.m4v"},
    {"MP3音频格式 (*.mp3)", "*.mp3"},
    {"CD音频格式 (*.cda)", "*.cda"},
    {"WMA微软音频格式 (*.wma)", "*.wma"},
    {"WAVE音频格式 (*.wav)", "*.wav"},
    {"REAL音频格式 (*.ra;*.ram)", "*.ra;*.ram"},
    {"MP4音频格式 (*.m4a;*.mp4)", "*.m4a;*.mp4"},
    {"AAC高级音频格式 (*.aac)", "*.aac"},
    {"AC3音频格式 (*.ac3)", "*.ac3"},
    {"Monkey音频格式 (*.ape;*.cue)", "*.ape;*.cue"},
    {"Flac无损压缩音频格式　(*.flac)", "*.flac"},
    {"MPEG音频编码格式(*.mpa)", "*.mpa"},
    {"MPEG 2音频编码格式(*.mp2)", "*.mp2"},
    {"OGG音频编码格式(*.ogg)", "*.ogg"},
    {"AIFF音频编码格式(*.aif; *.aiff)", "*.aif; *.aiff"},
}};
} // namespace

std::span<const FilterEntry> openDialogFilters() {
    return kFilters;
}

QString openDialogFilterString() {
    QString s;
    for (const auto& f : kFilters)
        s += QString::fromUtf8(f.description) + QLatin1Char('|') + QString::fromUtf8(f.patterns) +
             QLatin1Char('|');
    return s;
}

QStringList openDialogNameFilters() {
    QStringList filters;
    for (const auto& f : kFilters) {
        QStringList patterns =
            QString::fromUtf8(f.patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        filters << QString::fromUtf8(f.description) + QStringLiteral(" (") +
                       patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

QStringList GetFilenames(const QString& folder, const QString& mask) {
    QStringList found;
    const QFileInfo info(folder);
    if (!info.isDir())
        return found;
    QDir dir(folder);
    // "*.*" means every file, also one without an extension, as it does on Windows
    dir.setNameFilters({mask == QLatin1String("*.*") ? QStringLiteral("*") : mask});
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name);
    QString base = folder;
    if (!base.endsWith(QDir::separator()) && !base.endsWith(QLatin1Char('/')))
        base += QDir::separator();
    for (const QString& name : dir.entryList())
        found << base + name;
    return found;
}

} // namespace medialist

#include "FFPlayer.h"

#include "LibraryVersions.h"
#include "PlayerSession.h"
#include "VideoSurface.h"

#include <QFileInfo>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>

#include <vector>

namespace engine {

using namespace std::chrono_literals;
using player::PlayerSession;
using player::VideoSurface;

namespace {

// Opening gives up after this; a local file, also a large one, opens in a fraction of it.
constexpr auto kOpenLimit = 4000ms;
// How long Open waits for the first picture, and Seek(…, true) for the landing.
constexpr auto kLandingLimit = 3000ms;
constexpr int kPositionIntervalMs = 250;

} // namespace

struct TFFPlayer::Impl {
    enum class State { Closed, Playing, Paused, Ended };

    explicit Impl(TFFPlayer* owner) : q(owner) {
        positionTimer.setInterval(kPositionIntervalMs);
        QObject::connect(&positionTimer, &QTimer::timeout, q, [this] {
            if (state == State::Playing)
                emit q->OnPosition(position());
        });
    }

    TFFPlayer* q;
    bool libLoaded = false;
    QString lastError;
    bool mute = false;
    TVideoDriver videoDriver = vdDefault;
    TAudioDriver audioDriver = adDefault;

    std::unique_ptr<PlayerSession> session;
    int sessionId = 0; // tells a posted report of an earlier file from one of this file
    // Sessions stopped without waiting: their threads end on their own and are joined later.
    std::vector<std::unique_ptr<PlayerSession>> retired;
    player::MediaInfo info;
    State state = State::Closed;
    bool stepped = false; // pictures were stepped: the sound must catch up on Resume
    QPointer<QWidget> screen;
    QPointer<VideoSurface> surface;
    QTimer positionTimer;

    int64_t position() const {
        if (!session)
            return 0;
        const int64_t p = std::max<int64_t>(0, session->position());
        return info.durationUs > 0 ? std::min(p, info.durationUs) : p;
    }

    // Runs `report` on the user-interface thread if it still concerns the open file.
    void post(int id, std::function<void()> report) {
        QMetaObject::invokeMethod(
            q,
            [this, id, report = std::move(report)] {
                if (session && id == sessionId)
                    report();
            },
            Qt::QueuedConnection);
    }

    player::SessionEvents eventsFor(int id) {
        player::SessionEvents events;
        events.landed = [this, id](int serial, int64_t positionUs) {
            post(id, [this, serial, positionUs] { landed(serial, positionUs); });
        };
        events.ended = [this, id](int serial) { post(id, [this, serial] { ended(serial); }); };
        events.pictureChanged = [this, id] { post(id, [this] { refreshPicture(); }); };
        return events;
    }

    void landed(int serial, int64_t positionUs) {
        if (serial != session->serial())
            return;
        const int64_t p = std::max<int64_t>(0, positionUs);
        emit q->OnPosition(info.durationUs > 0 ? std::min(p, info.durationUs) : p);
    }

    void ended(int serial) {
        // A seek after the end was reached, or a pause before the report came: not an end.
        if (serial != session->serial() || state != State::Playing)
            return;
        session->setPaused(true);
        state = State::Ended;
        positionTimer.stop();
        emit q->OnPosition(position());
        emit q->OnState(psEnd);
    }

    void refreshPicture() {
        session->pictureNoticed();
        if (surface)
            surface->setPicture(session->picture(), info.displayAspect);
    }

    void joinRetired() {
        for (auto& s : retired)
            s->join();
        retired.clear();
    }

    // Ends the open session; true when one was open.
    bool close(bool wait) {
        positionTimer.stop();
        const bool wasOpen = session != nullptr;
        if (session) {
            session->abort();
            retired.push_back(std::move(session));
        }
        if (wait)
            joinRetired();
        ++sessionId;
        delete surface.data();
        if (QWidget* target = screen.data())
            target->update();
        screen = nullptr;
        info = {};
        state = State::Closed;
        stepped = false;
        return wasOpen;
    }
};

TFFPlayer::TFFPlayer(QObject* parent) : QObject(parent), d(std::make_unique<Impl>(this)) {}

TFFPlayer::~TFFPlayer() {
    d->close(true);
}

bool TFFPlayer::AVLibLoaded() const {
    return d->libLoaded;
}

bool TFFPlayer::LoadAVLib(const QString& path) {
    Q_UNUSED(path);
    const QString mismatch = engine::runningLibraryMismatch();
    d->libLoaded = mismatch.isEmpty();
    if (!d->libLoaded)
        d->lastError = mismatch;
    return d->libLoaded;
}

bool TFFPlayer::Open(const QString& fileName, QWidget* screen, bool paused) {
    d->close(true);
    d->lastError.clear();
    if (!d->libLoaded && !LoadAVLib(QString()))
        return false;
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
        d->lastError = QStringLiteral("文件不存在：%1").arg(fileName);
        return false;
    }
    // Asked here, on the user-interface thread, where Qt Multimedia keeps its device list.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    const int id = d->sessionId;
    auto session = std::make_unique<PlayerSession>(fileName, output, d->eventsFor(id));
    if (!session->open(kOpenLimit)) {
        d->lastError = session->error();
        session->abort();
        d->retired.push_back(std::move(session)); // joined by the next Open or Stop
        return false;
    }
    d->session = std::move(session);
    d->info = d->session->info();
    d->screen = screen;

    int screenWidth = screen ? screen->width() : 0;
    int screenHeight = screen ? screen->height() : 0;
    emit OnFileOpen(d->info.durationUs, d->info.width, d->info.height, &screenWidth, &screenHeight);
    if (d->sessionId != id || !d->session) { // the handler opened or stopped something else
        d->lastError = QStringLiteral("打开文件“%1”时被中断").arg(fileName);
        return false;
    }
    if (QWidget* target = d->screen.data()) {
        d->surface = new VideoSurface(target);
        if (screenWidth != target->width() || screenHeight != target->height())
            d->surface->setAreaSize(QSize(screenWidth, screenHeight));
    }

    d->session->start(paused, d->mute);
    d->session->waitLanded(0, kLandingLimit);
    d->refreshPicture();
    d->state = paused ? Impl::State::Paused : Impl::State::Playing;
    if (!paused)
        d->positionTimer.start();
    emit OnState(paused ? psPause : psPlay);
    return true;
}

void TFFPlayer::Stop(bool waitForStop) {
    if (d->close(waitForStop))
        emit OnState(psStop);
}

void TFFPlayer::Pause() {
    if (d->state == Impl::State::Playing)
        d->session->setPaused(true);
    else if (d->state != Impl::State::Ended)
        return;
    d->state = Impl::State::Paused;
    d->positionTimer.stop();
    emit OnState(psPause);
}

void TFFPlayer::Resume() {
    if (d->state != Impl::State::Paused && d->state != Impl::State::Ended)
        return;
    if (d->session->atEnd())
        d->session->seek(0, true);
    else if (d->stepped) // the sound stayed where the stepping began
        d->session->seek(d->position(), true);
    d->stepped = false;
    d->session->setPaused(false);
    d->state = Impl::State::Playing;
    d->positionTimer.start();
    emit OnState(psResume);
}

void TFFPlayer::Step() {
    if (!d->session || !d->info.hasVideo || d->state == Impl::State::Ended || d->session->atEnd())
        return;
    if (d->state == Impl::State::Playing) {
        d->session->setPaused(true);
        d->positionTimer.stop();
        d->state = Impl::State::Paused;
    }
    d->session->step();
    d->stepped = true;
    emit OnState(psStep);
}

void TFFPlayer::Seek(qint64 ptsUs, int flags, bool waitForSeekEnd) {
    if (!d->session)
        return;
    qint64 target = std::max<qint64>(0, ptsUs);
    if (d->info.durationUs > 0)
        target = std::min<qint64>(target, d->info.durationUs);
    const int serial = d->session->seek(target, !(flags & sfKeyFrame));
    d->stepped = false;
    if (waitForSeekEnd) {
        d->session->waitLanded(serial, kLandingLimit);
        d->refreshPicture();
    }
}

void TFFPlayer::UpdateScreenPosition() {
    if (d->surface)
        d->surface->fitToScreen();
}

WId TFFPlayer::ScreenHandle() const {
    QWidget* screen = d->screen.data();
    if (!d->session || !screen)
        return 0;
    if (const WId native = screen->effectiveWinId())
        return native;
    return reinterpret_cast<WId>(screen);
}

QImage TFFPlayer::CurrentFrame() const {
    if (!d->session || !d->info.hasVideo)
        return {};
    return d->session->picture();
}

bool TFFPlayer::Mute() const {
    return d->mute;
}

void TFFPlayer::SetMute(bool mute) {
    d->mute = mute;
    if (d->session)
        d->session->setMuted(mute);
}

TVideoDriver TFFPlayer::VideoDriver() const {
    return d->videoDriver;
}
void TFFPlayer::SetVideoDriver(TVideoDriver driver) {
    d->videoDriver = driver;
}
TAudioDriver TFFPlayer::AudioDriver() const {
    return d->audioDriver;
}
void TFFPlayer::SetAudioDriver(TAudioDriver driver) {
    d->audioDriver = driver;
}

QString TFFPlayer::LastErrMsg() const {
    return d->lastError;
}

QString TFFPlayer::FileInfoText() const {
    return d->session ? d->info.infoText : QString();
}

bool TFFPlayer::IsOpen() const {
    return d->session != nullptr;
}

bool TFFPlayer::IsPaused() const {
    return d->state != Impl::State::Playing;
}

qint64 TFFPlayer::Position() const {
    return d->position();
}

qint64 TFFPlayer::Duration() const {
    return d->info.durationUs;
}

} // namespace engine

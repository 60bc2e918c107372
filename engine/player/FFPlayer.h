#pragma once
// The preview player: plays one media file into a screen widget, with its sound through the
// default audio output. Owned and called by the user-interface thread only; it demuxes and
// decodes on threads of its own, and every signal is emitted on the user-interface thread.
//
// Times are microseconds from the start of the file (the container's start time is taken off),
// so 0 is always the first moment and the duration is the last.

#include <QImage>
#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>

namespace engine {

enum TPlayState { psPlay, psPause, psResume, psStep, psStop, psEnd };

// Only the defaults select anything; the other values are accepted and play as the default.
enum TVideoDriver { vdDefault, vdDirectDraw, vdGDI };
enum TAudioDriver { adDefault, adDirectSound, adWaveOut };

// Seek flags, combined with |. Every seek lands on the frame that is on show at the target time
// (decoding forward from the keyframe before it); sfAny says so explicitly. sfKeyFrame lands on
// the keyframe at or before the target instead, which is quicker on files with long groups of
// pictures, and playback goes on from there.
enum TSeekFlag { sfAny = 0x1, sfKeyFrame = 0x2 };

class TFFPlayer : public QObject {
    Q_OBJECT
public:
    explicit TFFPlayer(QObject* parent = nullptr);
    ~TFFPlayer() override; // stops playback and waits for every thread of the player

    bool AVLibLoaded() const;
    // FFmpeg is linked when the program is built: this checks that the libraries now running
    // have the major versions it was built with. `path` names where a separately shipped copy
    // would lie and is not used. False with LastErrMsg naming the library and both versions.
    bool LoadAVLib(const QString& path);

    // Closes whatever is open, then opens `fileName` for playing into `screen` (which may be
    // null: then nothing is drawn). Emits OnFileOpen during the call; after a successful return
    // the first picture is on show (CurrentFrame) and playback runs unless `paused`; OnState
    // reports psPause or psPlay. False with LastErrMsg when the file cannot be played; then
    // nothing is open. The file is opened on a worker thread, and opening gives up after a
    // few seconds, so a broken or unreachable file cannot hold the window.
    // Loads the libraries first when LoadAVLib has not been called.
    bool Open(const QString& fileName, QWidget* screen, bool paused);
    // Ends playback and closes the file; emits psStop when something was open. With
    // `waitForStop` the player's threads have ended on return; without, they end on their own
    // (interrupting any read) and are collected by the next Open or Stop. Clears the picture.
    void Stop(bool waitForStop);
    void Pause(); // psPause; also turns the end of the file into a paused player
    // psResume. After the end of the file (and no seek since) playback starts again at 0.
    void Resume();
    // Shows the next picture and stays paused (psStep); pauses first when playing. Does nothing
    // on a file without video or at its end.
    void Step();
    // Moves to `ptsUs` (clamped to the file), paused or playing as before. The landing is
    // reported by OnPosition. With `waitForSeekEnd` the call returns once the new picture is
    // on show, or after at most a few seconds.
    void Seek(qint64 ptsUs, int flags = 0, bool waitForSeekEnd = false);

    // Fits the drawing area to the screen widget's present geometry and repaints it. The
    // drawing follows the widget's own moves and resizes as well; call this after the window
    // moved or the widget was re-laid out by other means.
    void UpdateScreenPosition();
    // An id of the window drawn into: the native window that holds the screen widget, or an id
    // derived from the widget while that window has no native handle yet (no native window is
    // created for this). 0 when nothing is open or there is no screen.
    WId ScreenHandle() const;

    // The picture on show, at the video's own frame size (RGB32). A null image (width 0) when
    // nothing is open, the file has no video, or no picture could be decoded.
    QImage CurrentFrame() const;

    bool Mute() const;
    void SetMute(bool mute);
    TVideoDriver VideoDriver() const;
    void SetVideoDriver(TVideoDriver driver);
    TAudioDriver AudioDriver() const;
    void SetAudioDriver(TAudioDriver driver);

    QString LastErrMsg() const;
    // A readable multi-line description of the open file's container and streams; empty when
    // nothing is open.
    QString FileInfoText() const;

    bool IsOpen() const;
    bool IsPaused() const;   // paused, ended, or not open
    qint64 Position() const; // the playing position; 0 when nothing is open
    qint64 Duration() const; // as reported by OnFileOpen; 0 when unknown or nothing is open

signals:
    // During Open, before it returns. *screenWidth and *screenHeight come filled with the
    // screen widget's size; a handler may answer another size: the picture is then fitted into
    // an area of that size centred on the widget. The pointers are valid only during the call,
    // so connect with a direct (or automatic) connection. frameWidth/Height are 0 for audio.
    void OnFileOpen(qint64 durationUs, int frameWidth, int frameHeight, int* screenWidth,
                    int* screenHeight);
    // A few times a second while playing, and once when a seek has landed.
    void OnPosition(qint64 ptsUs);
    void OnState(engine::TPlayState state);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace engine

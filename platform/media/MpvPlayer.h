#pragma once
// One libmpv player. Events are handled on the GUI thread after a queued wake-up, properties of
// interest are observed into a cache so that reading them never blocks, and the video, when
// there is a window for it, is rendered by software into a QImage (see MpvVideoWidget).
#include <QImage>
#include <QObject>
#include <QVariant>

struct mpv_handle;
struct mpv_render_context;
struct mpv_event;

class MpvPlayer : public QObject
{
    Q_OBJECT
public:
    enum class Output {
        Window, // video rendered into images, audio to the sound device
        Null,   // neither picture nor sound: for running without a screen
    };
    enum class EndReason { Eof, Stop, Quit, Error, Redirect };

    // options are mpv options set before start-up ("pause" "yes", "keep-open" "always", ...);
    // they override this class's defaults.
    explicit MpvPlayer(Output output, const QVariantMap& options = {}, QObject* parent = nullptr);
    ~MpvPlayer() override;
    MpvPlayer(const MpvPlayer&) = delete;
    MpvPlayer& operator=(const MpvPlayer&) = delete;

    // False when libmpv could not be started; ErrorText says why.
    bool IsValid() const { return m_handle != nullptr; }
    QString ErrorText() const { return m_errorText; }

    // Queues hostPath after what is queued (playing it at once when idle), with per-file options
    // such as "start" and "length" in seconds.
    void LoadFile(const QString& hostPath, const QVariantMap& fileOptions = {});
    void Stop();
    void SetPause(bool pause);
    void TogglePause() { SetPause(!IsPaused()); }
    void SeekAbsolute(double seconds);
    void FrameStep();
    void FrameBackStep();
    // Any mpv command as a list of arguments, or as a map of named arguments with "name".
    void Command(const QVariant& command);
    void SetProperty(const QString& name, const QVariant& value);
    // Asks for the current playback position without waiting; answered by PositionReply.
    void RequestPosition();
    // Asks for any property without waiting; answered by PropertyReply, in the order asked.
    void RequestProperty(const QString& name);

    // Last known values of the observed properties; null when mpv has none. TimePos and
    // Duration are NaN when unknown.
    QVariant CachedProperty(const QString& name) const { return m_cache.value(name); }
    double TimePos() const { return CachedDouble("time-pos"); }
    double Duration() const { return CachedDouble("duration"); }
    bool IsPaused() const { return CachedProperty("pause").toBool(); }
    bool IsIdle() const { return CachedProperty("idle-active").toBool(); }
    bool IsEofReached() const { return CachedProperty("eof-reached").toBool(); }
    // The file's picture is a still image, whose position stays put while it is shown.
    bool IsStillPicture() const { return CachedProperty("current-tracks/video/image").toBool(); }
    // From the cached position and frame rate, as mpv estimates it: mpv does not report its own
    // estimate again while paused, so after a seek or frame step it would be stale.
    qint64 EstimatedFrameNumber() const;
    qint64 EstimatedFrameCount() const
    {
        return CachedProperty("estimated-frame-count").toLongLong();
    }
    double ContainerFps() const { return CachedProperty("container-fps").toDouble(); }
    // Clockwise degrees the video is meant to be turned for showing; Render does not turn it.
    int Rotation() const
    {
        return CachedProperty("current-tracks/video/demux-rotation").toInt() / 90 % 4 * 90;
    }

    // Draws the current video frame scaled into image (Format_RGBX8888); false without video.
    bool Render(QImage& image);

signals:
    void StartFile();
    void FileLoaded();
    void PlaybackRestart();
    // The file is about to be unloaded; lastTimePos is where its playback ended (NaN if unknown).
    void Unloading(double lastTimePos);
    void EndFile(MpvPlayer::EndReason reason, const QString& errorText);
    void PropertyChanged(const QString& name, const QVariant& value);
    void PositionReply(double timePos);
    // The value asked for by RequestProperty; null when mpv has none.
    void PropertyReply(const QString& name, const QVariant& value);
    void CommandFailed(const QString& errorText);
    void FrameReady();
    void Shutdown();

protected:
    void connectNotify(const QMetaMethod& signal) override;

private:
    double CachedDouble(const QString& name) const;
    bool IsStalePause(const QString& name, const QVariant& value) const;
    void SetProperty(const QString& name, const QVariant& value, quint64 tag);
    void Start(Output output, const QVariantMap& options);
    void HandleQueuedEvents();
    void HandleEvent(const mpv_event& event);
    void HandleHook(const mpv_event& event);
    void HandleReply(const mpv_event& event);
    void Observe(const char* name);
    static void OnWakeup(void* context);
    static void OnRenderUpdate(void* context);

    mpv_handle* m_handle = nullptr;
    mpv_render_context* m_render = nullptr;
    QString m_errorText;
    QVariantMap m_cache;
    int m_pausesInFlight = 0;
    QStringList m_observed;
    quint64 m_unloadHook = 0;
    bool m_unloadHooked = false;
};

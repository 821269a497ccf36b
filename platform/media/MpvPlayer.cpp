#include "platform/media/MpvPlayer.h"

#include <mpv/client.h>
#include <mpv/render.h>

#include <QMetaMethod>

#include <clocale>
#include <cmath>
#include <deque>
#include <limits>
#include <vector>

namespace
{

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Reply tags; observed properties use their index + 1, below these.
constexpr quint64 CommandTag = 1000;
constexpr quint64 PositionTag = 1001;
constexpr quint64 UnloadPositionTag = 1002;
constexpr quint64 HookTag = 1003;
constexpr quint64 PauseTag = 1004;
constexpr quint64 PropertyTag = 1005;

constexpr const char* ObservedProperties[] = {
    "time-pos",
    "duration",
    "pause",
    "idle-active",
    "eof-reached",
    "estimated-frame-number",
    "estimated-frame-count",
    "container-fps",
    "current-tracks/video/demux-rotation",
    "current-tracks/video/image",
};

// Builds an mpv_node tree from a QVariant; owns every allocation the tree points at.
class NodeBuilder
{
public:
    mpv_node Build(const QVariant& value)
    {
        mpv_node node{};
        switch (value.typeId()) {
        case QMetaType::QVariantList:
        case QMetaType::QStringList:
            return List(value.toList(), {}, MPV_FORMAT_NODE_ARRAY);
        case QMetaType::QVariantMap: {
            const QVariantMap map = value.toMap();
            return List(map.values(), map.keys(), MPV_FORMAT_NODE_MAP);
        }
        case QMetaType::Bool:
            node.format = MPV_FORMAT_FLAG;
            node.u.flag = value.toBool() ? 1 : 0;
            return node;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            node.format = MPV_FORMAT_INT64;
            node.u.int64 = value.toLongLong();
            return node;
        case QMetaType::Double:
            node.format = MPV_FORMAT_DOUBLE;
            node.u.double_ = value.toDouble();
            return node;
        default:
            node.format = MPV_FORMAT_STRING;
            node.u.string = String(value.toString());
            return node;
        }
    }

private:
    char* String(const QString& text) { return m_strings.emplace_back(text.toUtf8()).data(); }

    mpv_node List(const QVariantList& values, const QStringList& keys, mpv_format format)
    {
        std::vector<mpv_node> nodes;
        for (const QVariant& value : values)
            nodes.push_back(Build(value));
        std::vector<char*> names;
        for (const QString& key : keys)
            names.push_back(String(key));
        mpv_node_list& list = m_lists.emplace_back();
        list.num = int(nodes.size());
        list.values = m_nodes.emplace_back(std::move(nodes)).data();
        list.keys =
            format == MPV_FORMAT_NODE_MAP ? m_keys.emplace_back(std::move(names)).data() : nullptr;
        mpv_node node{};
        node.format = format;
        node.u.list = &list;
        return node;
    }

    std::deque<QByteArray> m_strings;
    std::deque<std::vector<mpv_node>> m_nodes;
    std::deque<std::vector<char*>> m_keys;
    std::deque<mpv_node_list> m_lists;
};

QVariant ToVariant(const mpv_node& node)
{
    switch (node.format) {
    case MPV_FORMAT_STRING:
        return QString::fromUtf8(node.u.string);
    case MPV_FORMAT_FLAG:
        return node.u.flag != 0;
    case MPV_FORMAT_INT64:
        return qlonglong(node.u.int64);
    case MPV_FORMAT_DOUBLE:
        return node.u.double_;
    case MPV_FORMAT_NODE_ARRAY: {
        QVariantList list;
        for (int i = 0; i < node.u.list->num; ++i)
            list.append(ToVariant(node.u.list->values[i]));
        return list;
    }
    case MPV_FORMAT_NODE_MAP: {
        QVariantMap map;
        for (int i = 0; i < node.u.list->num; ++i)
            map.insert(QString::fromUtf8(node.u.list->keys[i]), ToVariant(node.u.list->values[i]));
        return map;
    }
    default:
        return {};
    }
}

MpvPlayer::EndReason ToEndReason(int reason)
{
    switch (reason) {
    case MPV_END_FILE_REASON_EOF:
        return MpvPlayer::EndReason::Eof;
    case MPV_END_FILE_REASON_STOP:
        return MpvPlayer::EndReason::Stop;
    case MPV_END_FILE_REASON_QUIT:
        return MpvPlayer::EndReason::Quit;
    case MPV_END_FILE_REASON_REDIRECT:
        return MpvPlayer::EndReason::Redirect;
    default:
        return MpvPlayer::EndReason::Error;
    }
}

} // namespace

MpvPlayer::MpvPlayer(Output output, const QVariantMap& options, QObject* parent) : QObject(parent)
{
    Start(output, options);
}

MpvPlayer::~MpvPlayer()
{
    // The render context must go before the core it renders from.
    if (m_render) {
        mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
        mpv_render_context_free(m_render);
    }
    if (m_handle) {
        mpv_set_wakeup_callback(m_handle, nullptr, nullptr);
        mpv_terminate_destroy(m_handle);
    }
}

void MpvPlayer::Start(Output output, const QVariantMap& options)
{
    // libmpv refuses to start unless numbers are read and written the C way.
    std::setlocale(LC_NUMERIC, "C");
    m_handle = mpv_create();
    if (!m_handle) {
        m_errorText = tr("The media library could not be started.");
        return;
    }
    const bool window = output == Output::Window;
    // Hardware-decoded frames cannot be read back by the software renderer, which also stops
    // the program on a turned picture: MpvVideoWidget turns pictures itself.
    QVariantMap all{{"vo", window ? "libmpv" : "null"},
                    {"video-rotate", "no"},
                    {"ao", window ? "" : "null"},
                    {"hwdec", "no"},
                    {"config", "no"},
                    {"terminal", "no"},
                    {"load-scripts", "no"},
                    {"ytdl", "no"},
                    {"hr-seek", "yes"},
                    {"audio-display", "no"}};
    for (auto it = options.begin(); it != options.end(); ++it)
        all.insert(it.key(), it.value());
    int error = 0;
    for (auto it = all.begin(); it != all.end() && error >= 0; ++it)
        error = mpv_set_option_string(m_handle, it.key().toUtf8(), it.value().toString().toUtf8());
    if (error >= 0)
        error = mpv_initialize(m_handle);
    if (error >= 0 && all.value("vo").toString() == "libmpv") {
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
            {MPV_RENDER_PARAM_INVALID, nullptr}};
        error = mpv_render_context_create(&m_render, m_handle, params);
    }
    if (error < 0) {
        m_errorText = tr("The media library could not be started: %1.")
                          .arg(QString::fromUtf8(mpv_error_string(error)));
        m_render = nullptr;
        mpv_terminate_destroy(m_handle);
        m_handle = nullptr;
        return;
    }
    for (const char* name : ObservedProperties)
        Observe(name);
    // With no terminal of its own, the library's warnings would be lost: they go to stderr.
    mpv_request_log_messages(m_handle, "warn");
    if (m_render)
        mpv_render_context_set_update_callback(m_render, &MpvPlayer::OnRenderUpdate, this);
    mpv_set_wakeup_callback(m_handle, &MpvPlayer::OnWakeup, this);
}

// The unload hook makes the media library wait for this thread at the end of every file, so it
// is set only once someone listens for Unloading.
void MpvPlayer::connectNotify(const QMetaMethod& signal)
{
    if (m_handle && !m_unloadHooked && signal == QMetaMethod::fromSignal(&MpvPlayer::Unloading)) {
        m_unloadHooked = true;
        mpv_hook_add(m_handle, HookTag, "on_unload", 0);
    }
}

void MpvPlayer::Observe(const char* name)
{
    m_observed.append(QString::fromUtf8(name));
    mpv_observe_property(m_handle, quint64(m_observed.size()), name, MPV_FORMAT_NODE);
}

// Called on an mpv thread: only hands the work to the GUI thread.
void MpvPlayer::OnWakeup(void* context)
{
    auto* self = static_cast<MpvPlayer*>(context);
    QMetaObject::invokeMethod(
        self, [self] { self->HandleQueuedEvents(); }, Qt::QueuedConnection);
}

// Called on an mpv thread: only hands the work to the GUI thread.
void MpvPlayer::OnRenderUpdate(void* context)
{
    auto* self = static_cast<MpvPlayer*>(context);
    QMetaObject::invokeMethod(
        self,
        [self] {
            if (self->m_render &&
                (mpv_render_context_update(self->m_render) & MPV_RENDER_UPDATE_FRAME))
                emit self->FrameReady();
        },
        Qt::QueuedConnection);
}

void MpvPlayer::HandleQueuedEvents()
{
    while (m_handle) {
        const mpv_event* event = mpv_wait_event(m_handle, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        HandleEvent(*event);
    }
}

void MpvPlayer::HandleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        const QString name = QString::fromUtf8(property->name);
        const QVariant value = property->format == MPV_FORMAT_NODE
                                   ? ToVariant(*static_cast<const mpv_node*>(property->data))
                                   : QVariant();
        if (IsStalePause(name, value))
            break;
        m_cache.insert(name, value);
        emit PropertyChanged(name, value);
        break;
    }
    case MPV_EVENT_SET_PROPERTY_REPLY:
        if (event.reply_userdata == PauseTag)
            --m_pausesInFlight;
        break;
    case MPV_EVENT_START_FILE:
        emit StartFile();
        break;
    case MPV_EVENT_FILE_LOADED:
        emit FileLoaded();
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        emit PlaybackRestart();
        break;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        const EndReason reason = ToEndReason(end->reason);
        emit EndFile(reason, reason == EndReason::Error
                                 ? QString::fromUtf8(mpv_error_string(end->error))
                                 : QString());
        break;
    }
    case MPV_EVENT_HOOK:
        HandleHook(event);
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
    case MPV_EVENT_COMMAND_REPLY:
        HandleReply(event);
        break;
    case MPV_EVENT_SHUTDOWN:
        emit Shutdown();
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        qWarning("mpv %s: %s: %s", message->level, message->prefix,
                 QByteArray(message->text).trimmed().constData());
        break;
    }
    default:
        break;
    }
}

// The position a file ended at is gone once it is unloaded, and a property change can come too
// late to catch it, so unloading waits until the position has been fetched.
void MpvPlayer::HandleHook(const mpv_event& event)
{
    const auto* hook = static_cast<const mpv_event_hook*>(event.data);
    m_unloadHook = hook->id;
    if (mpv_get_property_async(m_handle, UnloadPositionTag, "time-pos", MPV_FORMAT_DOUBLE) < 0) {
        emit Unloading(NaN);
        mpv_hook_continue(m_handle, m_unloadHook);
    }
}

void MpvPlayer::HandleReply(const mpv_event& event)
{
    if (event.event_id == MPV_EVENT_COMMAND_REPLY) {
        if (event.error < 0)
            emit CommandFailed(QString::fromUtf8(mpv_error_string(event.error)));
        return;
    }
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    if (event.reply_userdata == PropertyTag) {
        emit PropertyReply(QString::fromUtf8(property->name),
                           event.error >= 0 && property->format == MPV_FORMAT_NODE
                               ? ToVariant(*static_cast<const mpv_node*>(property->data))
                               : QVariant());
        return;
    }
    const double position = event.error >= 0 && property->format == MPV_FORMAT_DOUBLE
                                ? *static_cast<const double*>(property->data)
                                : NaN;
    if (event.reply_userdata == PositionTag) {
        emit PositionReply(position);
    } else if (event.reply_userdata == UnloadPositionTag) {
        emit Unloading(position);
        mpv_hook_continue(m_handle, m_unloadHook);
    }
}

// A change of pause noticed before the player took a newer request would undo that request:
// a movie just set playing would seem to have stopped by itself.
bool MpvPlayer::IsStalePause(const QString& name, const QVariant& value) const
{
    return name == "pause" && m_pausesInFlight > 0 && value != m_cache.value("pause");
}

double MpvPlayer::CachedDouble(const QString& name) const
{
    const QVariant value = m_cache.value(name);
    return value.isNull() ? NaN : value.toDouble();
}

qint64 MpvPlayer::EstimatedFrameNumber() const
{
    const double position = TimePos();
    const double fps = ContainerFps();
    if (std::isnan(position) || !(fps > 0))
        return CachedProperty("estimated-frame-number").toLongLong();
    return std::llround(position * fps);
}

void MpvPlayer::Command(const QVariant& command)
{
    if (!m_handle)
        return;
    NodeBuilder builder;
    mpv_node node = builder.Build(command);
    const int error = mpv_command_node_async(m_handle, CommandTag, &node);
    if (error < 0)
        emit CommandFailed(QString::fromUtf8(mpv_error_string(error)));
}

void MpvPlayer::SetProperty(const QString& name, const QVariant& value)
{
    SetProperty(name, value, CommandTag);
}

void MpvPlayer::SetProperty(const QString& name, const QVariant& value, quint64 tag)
{
    if (!m_handle)
        return;
    NodeBuilder builder;
    mpv_node node = builder.Build(value);
    const int error = mpv_set_property_async(m_handle, tag, name.toUtf8(), MPV_FORMAT_NODE, &node);
    if (error >= 0 && tag == PauseTag)
        ++m_pausesInFlight;
    if (error < 0)
        emit CommandFailed(QString::fromUtf8(mpv_error_string(error)));
}

void MpvPlayer::RequestPosition()
{
    if (m_handle)
        mpv_get_property_async(m_handle, PositionTag, "time-pos", MPV_FORMAT_DOUBLE);
}

void MpvPlayer::RequestProperty(const QString& name)
{
    if (m_handle)
        mpv_get_property_async(m_handle, PropertyTag, name.toUtf8(), MPV_FORMAT_NODE);
}

void MpvPlayer::LoadFile(const QString& hostPath, const QVariantMap& fileOptions)
{
    // Named arguments, because later libmpv versions put an index before the options.
    Command(QVariantMap{{"name", "loadfile"},
                        {"url", hostPath},
                        {"flags", "append-play"},
                        {"options", fileOptions}});
}

void MpvPlayer::Stop()
{
    Command(QStringList{"stop"});
}

void MpvPlayer::SetPause(bool pause)
{
    m_cache.insert("pause", pause);
    SetProperty("pause", pause, PauseTag);
}

void MpvPlayer::SeekAbsolute(double seconds)
{
    // Reads right after a seek see where the user asked to go, not the old position.
    m_cache.insert("time-pos", seconds);
    Command(QVariantList{"seek", seconds, "absolute+exact"});
}

void MpvPlayer::FrameStep()
{
    Command(QStringList{"frame-step"});
}

void MpvPlayer::FrameBackStep()
{
    Command(QStringList{"frame-back-step"});
}

bool MpvPlayer::Render(QImage& image)
{
    if (!m_render || image.isNull() || image.format() != QImage::Format_RGBX8888)
        return false;
    int size[2] = {image.width(), image.height()};
    std::size_t stride = std::size_t(image.bytesPerLine());
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("rgb0")},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, image.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(m_render, params) >= 0;
}

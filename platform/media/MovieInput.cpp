#include "platform/media/MovieInput.h"

#include "platform/media/AvErrorText.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

#include <cmath>
#include <mutex>

namespace
{
int Stopped(void* flag)
{
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

// Whether a packet comes before another in decoding order, by position where both have one.
bool AtOrBefore(const AVPacket& packet, const MovieIndex::Key& key)
{
    if (packet.pos >= 0 && key.pos >= 0)
        return packet.pos <= key.pos;
    return packet.dts == MovieIndex::NoTimestamp || key.dts == MovieIndex::NoTimestamp ||
           packet.dts <= key.dts;
}

bool Same(const AVPacket& packet, const MovieIndex::Key& key)
{
    return (packet.pos < 0 || key.pos < 0 || packet.pos == key.pos) && packet.dts == key.dts;
}
} // namespace

MovieInput::~MovieInput()
{
    av_packet_free(&m_peeked);
    avformat_close_input(&m_format);
}

bool MovieInput::Fail(const QString& text)
{
    m_errorText = text;
    return false;
}

bool MovieInput::Open(const QString& hostPath, const std::atomic<bool>* stop)
{
    // Process-wide, and not the user's concern below errors (guessed durations and the like).
    static std::once_flag logLevel;
    std::call_once(logLevel, [] { av_log_set_level(AV_LOG_ERROR); });
    m_path = hostPath;
    m_stop = stop;
    m_peeked = av_packet_alloc();
    if (!m_peeked)
        return Fail("There is not enough memory to open the movie.");
    return OpenFile();
}

bool MovieInput::OpenFile()
{
    avformat_close_input(&m_format);
    m_hasPeeked = false;
    m_format = avformat_alloc_context();
    if (!m_format)
        return Fail("There is not enough memory to open the movie.");
    m_format->interrupt_callback = {&Stopped, const_cast<std::atomic<bool>*>(m_stop)};
    // Only as a file: a name that looks like a URL, or a playlist inside the file, must not
    // make the library go to the network.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const QByteArray url = QByteArray("file:") + m_path.toUtf8();
    int code = avformat_open_input(&m_format, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (code < 0)
        return Fail(QString("The file could not be opened: %1.").arg(AvErrorText(code)));
    code = avformat_find_stream_info(m_format, nullptr);
    if (code < 0)
        return Fail(QString("The file could not be read as a movie: %1.").arg(AvErrorText(code)));
    m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    for (unsigned i = 0; i < m_format->nb_streams; ++i)
        m_format->streams[i]->discard = int(i) == m_stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    return true;
}

bool MovieInput::HasAudio() const
{
    return av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) >= 0;
}

double MovieInput::DurationSeconds() const
{
    return m_format->duration > 0 ? m_format->duration / double(AV_TIME_BASE) : 0.0;
}

const AVCodecParameters& MovieInput::Video() const
{
    return *m_format->streams[m_stream]->codecpar;
}

double MovieInput::TimeBase() const
{
    return av_q2d(m_format->streams[m_stream]->time_base);
}

double MovieInput::GuessedRate() const
{
    AVStream* stream = m_format->streams[m_stream];
    AVRational rate = av_guess_frame_rate(m_format, stream, nullptr);
    if (rate.num <= 0 || rate.den <= 0)
        rate = stream->avg_frame_rate;
    return rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0;
}

bool MovieInput::NoTimestamps() const
{
    return m_format->iformat->flags & AVFMT_NOTIMESTAMPS;
}

int MovieInput::Rotation() const
{
    size_t size = 0;
    const uint8_t* matrix =
        av_stream_get_side_data(m_format->streams[m_stream], AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix || size < 9 * sizeof(int32_t))
        return 0;
    const double counterclockwise =
        av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
    if (!std::isfinite(counterclockwise))
        return 0;
    const int quarters = int(std::lround(-counterclockwise / 90));
    return (quarters % 4 + 4) % 4 * 90;
}

bool MovieInput::Read(AVPacket* packet)
{
    if (m_hasPeeked) {
        m_hasPeeked = false;
        av_packet_move_ref(packet, m_peeked);
        return true;
    }
    while (av_read_frame(m_format, packet) >= 0) {
        if (packet->stream_index == m_stream)
            return true;
        av_packet_unref(packet);
    }
    return false;
}

bool MovieInput::Peek()
{
    if (!Read(m_peeked))
        return false;
    m_hasPeeked = true;
    return true;
}

// Demuxers seek by different clocks (display or decoding time, or bytes) and some land after
// the packet asked for; the first packet read tells. The start is reached exactly, by opening
// the file again if need be: a cut-off file read to its end may not find its way back.
bool MovieInput::SeekTo(const MovieIndex::Key& key)
{
    if (key.first) {
        if ((TrySeek(key.dts, 0) && Same(*m_peeked, key)) ||
            (TrySeek(key.pos, AVSEEK_FLAG_BYTE) && Same(*m_peeked, key)))
            return true;
        return OpenFile();
    }
    for (const auto& [target, flags] :
         {std::pair{key.pts, 0}, std::pair{key.dts, 0}, std::pair{key.pos, AVSEEK_FLAG_BYTE}}) {
        if (TrySeek(target, flags) && AtOrBefore(*m_peeked, key))
            return true;
    }
    return false;
}

bool MovieInput::TrySeek(int64_t target, int flags)
{
    if (target == MovieIndex::NoTimestamp || (flags & AVSEEK_FLAG_BYTE && target < 0))
        return false;
    // The packet read ahead is dropped: reading would overwrite it without releasing it.
    m_hasPeeked = false;
    av_packet_unref(m_peeked);
    const int stream = flags & AVSEEK_FLAG_BYTE ? -1 : m_stream;
    return avformat_seek_file(m_format, stream, INT64_MIN, target, target, flags) >= 0 && Peek();
}

#include "render/movie/SourceMovie.h"

#include "render/movie/MovieFile.h"
#include "render/movie/NalStream.h"
#include "render/movie/PictureProbe.h"
#include "render/movie/RenderFailure.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace
{
// A mark written as a picture's time with three decimals gives that picture back.
constexpr double kTimeTolerance = 0.0005;

double Seconds(int64_t ts, AVRational base)
{
    return ts == AV_NOPTS_VALUE ? 0.0 : double(ts) * av_q2d(base);
}

bool IsAttachedPicture(const AVStream* stream)
{
    return stream->disposition & AV_DISPOSITION_ATTACHED_PIC;
}
} // namespace

SourceMovie::SourceMovie(const QString& hostPath, const std::function<void()>& stillWanted)
    : m_path(hostPath)
{
    AvPtr<AVFormatContext> format = MovieFile::Open(hostPath);
    ChooseStreams(format.get());
    if (m_videoStream >= 0) {
        if (ListPackets(format.get(), stillWanted))
            NumberPictures();
        else
            DecodePictures(stillWanted);
        if (m_pts.empty())
            throw RenderFailure(QStringLiteral("%1 holds no pictures that can be shown.")
                                    .arg(MovieFile::Quoted(m_path)));
    }
    FindTimes(format.get());
}

void SourceMovie::ChooseStreams(AVFormatContext* format)
{
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0 && !IsAttachedPicture(format->streams[video])) {
        m_videoStream = video;
        AVStream* stream = format->streams[video];
        avcodec_parameters_copy(m_video.get(), stream->codecpar);
        m_videoTimeBase = stream->time_base;
        const AVRational rate = av_guess_frame_rate(format, stream, nullptr);
        if (rate.num > 0 && rate.den > 0)
            m_rate = rate;
    }
    m_soundStream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, video, nullptr, 0);
    if (m_soundStream >= 0) {
        const AVCodecParameters* sound = format->streams[m_soundStream]->codecpar;
        m_soundRate = sound->sample_rate;
        m_soundChannels = sound->ch_layout.nb_channels;
        if (m_soundRate <= 0 || m_soundChannels <= 0)
            m_soundStream = -1; // nothing a decoder could be set up for
    }
    if (m_videoStream < 0 && m_soundStream < 0)
        throw RenderFailure(
            QStringLiteral("%1 holds neither pictures nor sound.").arg(MovieFile::Quoted(m_path)));
}

// Packets without a timestamp of their own (some program streams) follow the one before. The
// first few packets are decoded on the way: false when they did not give one picture each.
bool SourceMovie::ListPackets(AVFormatContext* format, const std::function<void()>& stillWanted)
{
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == m_videoStream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const NalStream units(m_video->codec_id, m_video->extradata,
                          size_t(std::max(0, m_video->extradata_size)));
    const bool hasUnits = NalStream::Supports(m_video->codec_id);
    const int64_t step = av_rescale_q(1, av_inv_q(m_rate), m_videoTimeBase);
    PictureProbe probe(*format->streams[m_videoStream], m_path);
    AvPtr<AVPacket> packet(av_packet_alloc());
    std::optional<int64_t> last;
    for (int n = 0; av_read_frame(format, packet.get()) >= 0; ++n) {
        if (stillWanted && n % 256 == 0)
            stillWanted();
        if (packet->stream_index == m_videoStream) {
            m_timestamped &= packet->pts != AV_NOPTS_VALUE;
            int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (ts == AV_NOPTS_VALUE)
                ts = last ? *last + step : 0;
            last = ts;
            const bool key = packet->flags & AV_PKT_FLAG_KEY;
            // Left out by an edit list, or an empty packet (an unchanged picture's place).
            const bool shown = !(packet->flags & AV_PKT_FLAG_DISCARD) && packet->size > 0;
            m_packets.push_back({ts, shown ? 0 : -1, key});
            if (key) {
                const bool idr =
                    hasUnits && units.OpensClosedGroup(packet->data, size_t(packet->size));
                m_keys.push_back({0, int(m_packets.size() - 1), packet->dts, idr && shown});
            }
            probe.Add(*packet, shown);
        }
        av_packet_unref(packet.get());
    }
    return probe.OnePerPacket();
}

void SourceMovie::NumberPictures()
{
    if (!m_timestamped)
        return CountPictures();
    for (const Packet& packet : m_packets)
        if (packet.picture == 0)
            m_pts.push_back(packet.pts);
    std::sort(m_pts.begin(), m_pts.end());
    m_pts.erase(std::unique(m_pts.begin(), m_pts.end()), m_pts.end());
    int shown = 0;
    for (Packet& packet : m_packets) {
        if (packet.picture < 0)
            continue;
        packet.picture = PictureOfPts(packet.pts);
        m_reorderDepth = std::max(m_reorderDepth, shown++ - packet.picture);
    }
    for (Key& key : m_keys) {
        const int64_t pts = m_packets[size_t(key.packet)].pts;
        key.picture = int(std::lower_bound(m_pts.begin(), m_pts.end(), pts) - m_pts.begin());
    }
    std::erase_if(m_keys, [this](const Key& key) { return key.picture >= PictureCount(); });
    std::stable_sort(m_keys.begin(), m_keys.end(),
                     [](const Key& a, const Key& b) { return a.picture < b.picture; });
    m_constantRate = true;
    for (size_t i = 1; i < m_pts.size(); ++i)
        m_constantRate &= (m_pts[i] - m_pts[i - 1]) * m_videoTimeBase.num * m_rate.num ==
                          int64_t(m_videoTimeBase.den) * m_rate.den;
}

// Where some packets carry no timestamp, a decoding timestamp can equal another picture's
// display timestamp: the pictures are counted instead, one a packet, at the movie's rate, and
// only a decode from the file's start numbers them.
void SourceMovie::CountPictures()
{
    int64_t first = std::numeric_limits<int64_t>::max();
    int count = 0;
    for (Packet& packet : m_packets) {
        first = std::min(first, packet.pts);
        count += packet.picture == 0;
        packet.picture = -1;
    }
    for (int n = 0; n < count; ++n)
        m_pts.push_back(first + av_rescale_q(n, av_inv_q(m_rate), m_videoTimeBase));
    m_keys.clear();
    m_constantRate = true;
}

// Some decoders give no picture for some packets (a screen recording's unchanged screen): only
// a decode of the whole movie numbers its pictures, by the times the decoder gives them.
void SourceMovie::DecodePictures(const std::function<void()>& stillWanted)
{
    AvPtr<AVFormatContext> format = MovieFile::OpenStream(m_path, m_videoStream);
    AvPtr<AVCodecContext> codec = MovieFile::OpenDecoder(*format->streams[m_videoStream], m_path);
    AvPtr<AVPacket> packet(av_packet_alloc());
    AvPtr<AVFrame> frame(av_frame_alloc());
    const auto collect = [&] {
        while (avcodec_receive_frame(codec.get(), frame.get()) >= 0) {
            const int64_t ts = frame->best_effort_timestamp;
            const int64_t after = m_pts.empty() ? ts : m_pts.back() + 1;
            m_pts.push_back(ts == AV_NOPTS_VALUE ? after : std::max(ts, after));
            av_frame_unref(frame.get());
        }
    };
    for (int n = 0; av_read_frame(format.get(), packet.get()) >= 0; ++n) {
        if (packet->stream_index == m_videoStream && packet->size > 0)
            avcodec_send_packet(codec.get(), packet.get());
        av_packet_unref(packet.get());
        collect();
        if (stillWanted && n % 64 == 0)
            stillWanted();
    }
    avcodec_send_packet(codec.get(), nullptr);
    collect();
    m_timestamped = false;
    m_keys.clear();
    for (Packet& p : m_packets)
        p.picture = -1;
}

void SourceMovie::FindTimes(AVFormatContext* format)
{
    double soundStart = 0;
    double soundEnd = 0;
    if (m_soundStream >= 0) {
        const AVStream* sound = format->streams[m_soundStream];
        soundStart = Seconds(sound->start_time, sound->time_base);
        soundEnd = sound->duration != AV_NOPTS_VALUE
                       ? soundStart + Seconds(sound->duration, sound->time_base)
                       : Seconds(format->start_time, AV_TIME_BASE_Q) +
                             Seconds(format->duration, AV_TIME_BASE_Q);
    }
    m_origin = HasVideo() ? Seconds(m_pts.front(), m_videoTimeBase) : soundStart;
    m_duration = std::max(HasVideo() ? EndOf(PictureCount()) : 0.0, soundEnd - m_origin);
}

double SourceMovie::TimeOf(int picture) const
{
    return double(m_pts[size_t(picture)] - m_pts.front()) * av_q2d(m_videoTimeBase);
}

int SourceMovie::FirstPictureFrom(double seconds) const
{
    int low = 0;
    int high = PictureCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (TimeOf(middle) < seconds - kTimeTolerance)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int SourceMovie::PictureShownAt(double seconds) const
{
    int low = 0;
    int high = PictureCount();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (TimeOf(middle) <= seconds + kTimeTolerance)
            low = middle + 1;
        else
            high = middle;
    }
    return std::max(0, low - 1);
}

double SourceMovie::EndOf(int end) const
{
    if (end < PictureCount())
        return TimeOf(end);
    return TimeOf(PictureCount() - 1) + 1 / av_q2d(m_rate);
}

int SourceMovie::PictureOfPts(int64_t pts) const
{
    const auto it = std::lower_bound(m_pts.begin(), m_pts.end(), pts);
    return it != m_pts.end() && *it == pts ? int(it - m_pts.begin()) : -1;
}

int SourceMovie::KeyAtOrBefore(int picture) const
{
    const auto it = std::upper_bound(m_keys.begin(), m_keys.end(), picture,
                                     [](int n, const Key& key) { return n < key.picture; });
    return int(it - m_keys.begin()) - 1;
}

#include "platform/media/MovieDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <limits>

// FFmpeg's mark for a missing timestamp is the index's.
static_assert(MovieIndex::NoTimestamp == AV_NOPTS_VALUE);

namespace
{

QString AvError(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// The largest even size with the picture's shape that fits in the display (never enlarged).
QSize FitSize(const AVCodecParameters& codec, QSize display)
{
    const AVRational sar = codec.sample_aspect_ratio;
    double width = codec.width * (sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0);
    double height = codec.height;
    if (display.width() > 0 && display.height() > 0) {
        const double scale = std::min({1.0, display.width() / width, display.height() / height});
        width *= scale;
        height *= scale;
    }
    const auto even = [](double v) { return std::max(2, int(std::lround(v / 2)) * 2); };
    return {even(width), even(height)};
}

} // namespace

void MovieDecoder::PictureList::Add(int64_t ts, bool key)
{
    ++count;
    if (ts == MovieIndex::NoTimestamp)
        return;
    first = std::min(first, ts);
    last = std::max(last, ts);
    if (key)
        keyTimes.push_back(ts);
}

MovieDecoder::~MovieDecoder()
{
    sws_freeContext(m_scaler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
}

bool MovieDecoder::Fail(const QString& text)
{
    m_errorText = text;
    return false;
}

bool MovieDecoder::OpenInput(const QString& hostPath)
{
    av_log_set_level(AV_LOG_ERROR); // warnings about guessed durations are not the user's concern
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    // Only as a file: a name that looks like a URL, or a playlist inside the file, must not
    // make the library go to the network.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const QByteArray url = QByteArray("file:") + hostPath.toUtf8();
    int code = avformat_open_input(&m_format, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (code < 0)
        return Fail(QString("The file could not be opened: %1.").arg(AvError(code)));
    code = avformat_find_stream_info(m_format, nullptr);
    if (code < 0)
        return Fail(QString("The file could not be read as a movie: %1.").arg(AvError(code)));
    return true;
}

bool MovieDecoder::OpenCodec()
{
    const AVCodecParameters* parameters = m_format->streams[m_stream]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    if (!decoder)
        return Fail(QString("There is no decoder for the movie's video (%1).")
                        .arg(avcodec_get_name(parameters->codec_id)));
    m_codec = avcodec_alloc_context3(decoder);
    avcodec_parameters_to_context(m_codec, parameters);
    m_codec->thread_count = 0;
    const int code = avcodec_open2(m_codec, decoder, nullptr);
    if (code < 0)
        return Fail(QString("The movie's video could not be decoded: %1.").arg(AvError(code)));
    for (unsigned i = 0; i < m_format->nb_streams; ++i)
        m_format->streams[i]->discard = int(i) == m_stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    return true;
}

bool MovieDecoder::Open(const QString& hostPath, QSize displaySize, YuvPicture& first)
{
    if (!OpenInput(hostPath))
        return false;
    m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (m_stream < 0) {
        if (av_find_best_stream(m_format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) < 0)
            return Fail("The file holds neither pictures nor sound.");
        if (m_format->duration > 0)
            m_index.durationSeconds = m_format->duration / double(AV_TIME_BASE);
        return true;
    }
    if (!OpenCodec() || !BuildIndex(displaySize))
        return false;
    SeekToKey(m_index.keys[0]);
    int frame = 0;
    if (DecodeNext(frame, first) != Result::Picture)
        return Fail("The movie's first picture could not be decoded.");
    return true;
}

bool MovieDecoder::OpenIndexed(const QString& hostPath, const MovieIndex& index)
{
    m_index = index;
    if (!OpenInput(hostPath))
        return false;
    m_stream = av_find_best_stream(m_format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    return m_stream >= 0 ? OpenCodec() : Fail("The movie's video is gone.");
}

// Lists the pictures without decoding them: from the container's own table when it has one
// entry a picture (QuickTime, AVI: long movies open without being read through), else packet by
// packet.
void MovieDecoder::ListPictures(PictureList& list)
{
    AVStream* stream = m_format->streams[m_stream];
    const int entries = avformat_index_get_entries_count(stream);
    if (stream->nb_frames > 0 && entries == stream->nb_frames) {
        for (int i = 0; i < entries; ++i) {
            const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
            if (!(entry->flags & AVINDEX_DISCARD_FRAME)) // cut off by an edit list
                list.Add(entry->timestamp, entry->flags & AVINDEX_KEYFRAME);
        }
        if (stream->start_time != MovieIndex::NoTimestamp)
            list.firstShown = stream->start_time;
        m_index.exactTimestamps = true;
        return;
    }
    while (av_read_frame(m_format, m_packet) >= 0) {
        if (m_packet->stream_index == m_stream) {
            list.Add(m_packet->pts != MovieIndex::NoTimestamp ? m_packet->pts : m_packet->dts,
                     m_packet->flags & AV_PKT_FLAG_KEY);
        }
        av_packet_unref(m_packet);
    }
}

// Numbers pictures by their timestamps at the movie's constant rate; the key pictures found here
// are where decoding can start.
bool MovieDecoder::BuildIndex(QSize displaySize)
{
    AVStream* stream = m_format->streams[m_stream];
    const AVRational rate = av_guess_frame_rate(m_format, stream, nullptr);
    if (rate.num <= 0 || rate.den <= 0)
        return Fail("The movie's frame rate is unknown.");
    m_index.fps = av_q2d(rate);
    m_index.timeBase = av_q2d(stream->time_base);
    PictureList list;
    ListPictures(list);
    if (list.keyTimes.empty())
        return Fail("The movie holds no pictures that can be shown.");
    const auto number = [&](int64_t ts) {
        return int(std::lround((ts - list.first) * m_index.timeBase * m_index.fps));
    };
    const auto& times = list.keyTimes;
    const int64_t second = std::llround(1 / m_index.timeBase);
    for (size_t i = 0; i < times.size(); ++i) {
        const int frame = i == 0 ? 0 : std::max(m_index.keys.back().frame, number(times[i]));
        // A table's seek lands on the last key picture at or before the time asked, whether it
        // compares decoding or display times: ask halfway to the next one.
        const int64_t next = i + 1 < times.size() ? times[i + 1] : times[i] + 2 * second;
        const int64_t seekTs =
            m_index.exactTimestamps ? times[i] + (next - times[i]) / 2 : times[i];
        const bool known = m_index.exactTimestamps || i == 0;
        m_index.keys.push_back(
            {frame, seekTs, known, known ? MovieIndex::AnyLanding : MovieIndex::NoTimestamp});
    }
    m_index.hasVideo = true;
    // The last pictures of a program stream may carry no timestamp of their own.
    m_index.frameCount = std::max(number(list.last) + 1, list.count);
    m_index.durationSeconds = m_index.frameCount / m_index.fps;
    const bool shownKnown = list.firstShown != std::numeric_limits<int64_t>::max();
    m_index.firstPts = (shownKnown ? list.firstShown : list.first) * m_index.timeBase;
    m_index.baseTs = MovieIndex::NoTimestamp;
    m_index.pictureSize = FitSize(*stream->codecpar, displaySize);
    return true;
}

void MovieDecoder::SeekToKey(const MovieIndex::Key& key, int firstWanted)
{
    // Where pictures are counted, only the start of the file is sure to begin with picture 0.
    const bool fromStart = !m_index.exactTimestamps && key.landingTs == MovieIndex::AnyLanding;
    if (fromStart || av_seek_frame(m_format, m_stream, key.seekTs, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(m_format, -1, 0, AVSEEK_FLAG_BYTE);
    m_landingTs = key.landingTs;
    avcodec_flush_buffers(m_codec);
    m_awaitingKey = true;
    m_inputEnded = false;
    m_lastFrame = key.frame - 1;
    m_firstWanted = firstWanted;
    m_skipBeforeTs = MovieIndex::NoTimestamp;
    if (firstWanted > key.frame && m_index.exactTimestamps &&
        m_index.baseTs != MovieIndex::NoTimestamp)
        m_skipBeforeTs =
            m_index.baseTs + std::llround((firstWanted - 0.5) / m_index.fps / m_index.timeBase);
}

// Pictures shown before the first wanted one are decoded only when others refer to them.
bool MovieDecoder::ReadPacket()
{
    if (m_inputEnded)
        return false;
    if (av_read_frame(m_format, m_packet) < 0) {
        m_inputEnded = true;
        avcodec_send_packet(m_codec, nullptr);
        return true;
    }
    if (m_packet->stream_index == m_stream) {
        const bool early = m_skipBeforeTs != MovieIndex::NoTimestamp &&
                           m_packet->pts != MovieIndex::NoTimestamp &&
                           m_packet->pts < m_skipBeforeTs;
        m_codec->skip_frame = early ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        avcodec_send_packet(m_codec, m_packet); // a damaged packet only costs its picture
    }
    av_packet_unref(m_packet);
    return true;
}

// Output before the key picture after a seek refers to pictures not decoded (open groups).
MovieDecoder::Result MovieDecoder::DecodeNext(int& frame, YuvPicture& picture)
{
    for (;;) {
        const int code = avcodec_receive_frame(m_codec, m_frame);
        if (code == AVERROR(EAGAIN)) {
            if (!ReadPacket())
                return Result::End;
            continue;
        }
        if (code < 0)
            return Result::End;
        const bool key = m_frame->key_frame || m_frame->pict_type == AV_PICTURE_TYPE_I;
        if (m_awaitingKey && !(key && LandedOn())) {
            av_frame_unref(m_frame);
            continue;
        }
        m_awaitingKey = false;
        m_lastPts = m_frame->pts;
        const int64_t ts = m_frame->best_effort_timestamp;
        if (m_index.baseTs == MovieIndex::NoTimestamp)
            m_index.baseTs = ts == MovieIndex::NoTimestamp ? 0 : ts;
        const bool counted = ts == MovieIndex::NoTimestamp || !m_index.exactTimestamps;
        frame = counted ? m_lastFrame + 1 : FrameNumber(ts);
        m_lastFrame = frame;
        m_lastWasKey = key;
        if (frame < m_firstWanted) {
            av_frame_unref(m_frame);
            continue;
        }
        Scale(picture);
        av_frame_unref(m_frame);
        return Result::Picture;
    }
}

// A picture's own timestamp comes from its packet whatever was decoded before it; the
// decoder's best guess for a picture without one depends on the packets around it.
bool MovieDecoder::LandedOn() const
{
    return m_landingTs == MovieIndex::AnyLanding ||
           (m_frame->pts != MovieIndex::NoTimestamp && m_frame->pts == m_landingTs);
}

int MovieDecoder::FrameNumber(int64_t ts) const
{
    return int(std::lround((ts - m_index.baseTs) * m_index.timeBase * m_index.fps));
}

void MovieDecoder::Scale(YuvPicture& picture)
{
    const QSize size = m_index.pictureSize;
    m_scaler = sws_getCachedContext(m_scaler, m_frame->width, m_frame->height,
                                    AVPixelFormat(m_frame->format), size.width(), size.height(),
                                    AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    picture.Allocate(size);
    if (!m_scaler)
        return;
    uint8_t* target[] = {picture.Plane(0), picture.Plane(1), picture.Plane(2)};
    const int lines[] = {picture.LineSize(0), picture.LineSize(1), picture.LineSize(2)};
    sws_scale(m_scaler, m_frame->data, m_frame->linesize, 0, m_frame->height, target, lines);
}

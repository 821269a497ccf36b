#include "platform/media/MovieDecoder.h"

#include "platform/media/AvErrorText.h"
#include "platform/media/IndexBuilder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

// FFmpeg's mark for a missing timestamp is the index's.
static_assert(MovieIndex::NoTimestamp == AV_NOPTS_VALUE);

namespace
{
// Pictures decoded from the start on opening, to see that each packet gives one picture: where
// some give none (screen recordings' unchanged pictures), only a decode of the whole movie can
// number them.
constexpr int ProbePictures = 4;
// Pictures a decoder may give from packets after a key picture's own before that picture, when
// it is told only by its packet's position.
constexpr int ReorderLimit = 16;
// What Number gives for a picture that is not given, and for a key that does not do.
constexpr int Passed = -1;
constexpr int BadKeyNumber = -2;

// The largest even size with the picture's shape that fits in the display (never enlarged).
QSize FitSize(const AVCodecParameters& codec, QSize display, int rotation)
{
    const AVRational sar = codec.sample_aspect_ratio;
    double width = codec.width * (sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0);
    double height = codec.height;
    if (rotation % 180)
        display.transpose();
    if (display.width() > 0 && display.height() > 0) {
        const double scale = std::min({1.0, display.width() / width, display.height() / height});
        width *= scale;
        height *= scale;
    }
    const auto even = [](double v) { return std::max(2, int(std::lround(v / 2)) * 2); };
    return {even(width), even(height)};
}

IndexBuilder::Packet Describe(const AVPacket& packet)
{
    return {packet.pts, packet.dts, packet.pos, (packet.flags & AV_PKT_FLAG_KEY) != 0};
}
} // namespace

MovieDecoder::~MovieDecoder()
{
    sws_freeContext(m_scaler);
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
}

bool MovieDecoder::Fail(const QString& text)
{
    m_errorText = text;
    return false;
}

bool MovieDecoder::Open(const QString& hostPath, const std::atomic<bool>* stop)
{
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame)
        return Fail("There is not enough memory to open the movie.");
    if (!m_input.Open(hostPath, stop))
        return Fail(m_input.ErrorText());
    return !m_input.HasVideo() || OpenCodec();
}

bool MovieDecoder::OpenCodec()
{
    const AVCodecParameters& parameters = m_input.Video();
    const AVCodec* decoder = avcodec_find_decoder(parameters.codec_id);
    if (!decoder)
        return Fail(QString("There is no decoder for the movie's video (%1).")
                        .arg(avcodec_get_name(parameters.codec_id)));
    m_codec = avcodec_alloc_context3(decoder);
    if (!m_codec || avcodec_parameters_to_context(m_codec, &parameters) < 0)
        return Fail("There is not enough memory to open the movie.");
    m_codec->thread_count = 0;
    const int code = avcodec_open2(m_codec, decoder, nullptr);
    if (code < 0)
        return Fail(QString("The movie's video could not be decoded: %1.").arg(AvErrorText(code)));
    return true;
}

bool MovieDecoder::BuildIndex(MovieIndex& index, QSize displaySize, YuvPicture& first)
{
    m_index = &index;
    if (!m_input.HasVideo()) {
        if (!m_input.HasAudio())
            return Fail("The file holds neither pictures nor sound.");
        index.durationSeconds = m_input.DurationSeconds();
        return true;
    }
    const double guessed = m_input.GuessedRate();
    const double rate = guessed > 0 ? guessed : 25.0;
    index.timeBase = m_input.TimeBase();
    index.rotation = m_input.Rotation();
    index.pictureSize = FitSize(m_input.Video(), displaySize, index.rotation);
    IndexBuilder builder(std::llround(1 / (rate * index.timeBase)), m_input.NoTimestamps(),
                         m_input.Video().video_delay > 0);
    const bool onePerPacket = ScanPackets(builder, first);
    if (builder.Count() == 0)
        return Fail(m_errorText.isEmpty() ? "The movie holds no pictures that can be shown."
                                          : m_errorText);
    if (onePerPacket)
        builder.FromPackets(index);
    else
        DecodeAll(builder, index, first);
    if (index.times.empty() || first.Bytes() == 0)
        return Fail(m_errorText.isEmpty() ? "The movie's first picture could not be decoded."
                                          : m_errorText);
    const double span = index.TimeOfFrame(index.FrameCount() - 1);
    index.fps = index.FrameCount() > 1 && span > 0 ? (index.FrameCount() - 1) / span : rate;
    index.durationSeconds = span + 1 / index.fps;
    index.hasVideo = true;
    m_positioned = false;
    return true;
}

bool MovieDecoder::Use(MovieIndex& index)
{
    m_index = &index;
    return m_input.HasVideo() || Fail("The movie's video is gone.");
}

// Lists the packets that give pictures (not those an edit list leaves out, nor empty ones),
// decoding the first few on the way.
bool MovieDecoder::ScanPackets(IndexBuilder& builder, YuvPicture& first)
{
    int sent = 0;
    int given = 0;
    bool probing = true;
    bool started = false;
    while (m_input.Read(m_packet)) {
        const bool shown = !(m_packet->flags & AV_PKT_FLAG_DISCARD) && m_packet->size > 0;
        if (!std::exchange(started, true))
            builder.SetStart(Describe(*m_packet));
        if (shown)
            builder.Add(Describe(*m_packet));
        if (probing && m_packet->size > 0) {
            avcodec_send_packet(m_codec, m_packet);
            sent += shown;
            given += Collect(first);
            probing = sent < ProbePictures;
            if (!probing) {
                avcodec_send_packet(m_codec, nullptr);
                given += Collect(first);
            }
        }
        av_packet_unref(m_packet);
    }
    if (probing) {
        avcodec_send_packet(m_codec, nullptr);
        given += Collect(first);
    }
    avcodec_flush_buffers(m_codec);
    return given == sent;
}

// Receives what the decoder has ready, keeping the first picture of all.
int MovieDecoder::Collect(YuvPicture& first)
{
    int count = 0;
    while (avcodec_receive_frame(m_codec, m_frame) >= 0) {
        if (first.Bytes() == 0 && !Scale(first))
            first = YuvPicture();
        av_frame_unref(m_frame);
        ++count;
    }
    return count;
}

// Numbers the pictures as the decoder gives them from the start.
bool MovieDecoder::DecodeAll(IndexBuilder& builder, MovieIndex& index, YuvPicture& first)
{
    MovieIndex start;
    builder.FromPackets(start);
    m_index = &start;
    SeekToKey(0);
    std::vector<IndexBuilder::Picture> pictures;
    for (;;) {
        const int code = avcodec_receive_frame(m_codec, m_frame);
        if (code == AVERROR(EAGAIN) && Feed())
            continue;
        if (code < 0)
            break;
        if (first.Bytes() == 0 && !Scale(first))
            first = YuvPicture();
        pictures.push_back(
            {m_frame->pts, m_frame->best_effort_timestamp, m_frame->pkt_pos, IsKeyPicture()});
        av_frame_unref(m_frame);
    }
    m_index = &index;
    builder.FromPictures(pictures, index);
    return true;
}

void MovieDecoder::SeekToKey(int keyIndex, int firstWanted)
{
    m_key = m_index->keys[keyIndex];
    m_positioned = m_input.SeekTo(m_key);
    avcodec_flush_buffers(m_codec);
    m_inputEnded = false;
    m_anchored = false;
    m_beforeKey = !m_key.first;
    m_strays = 0;
    m_last = m_key.frame - 1;
    m_nextKey = keyIndex + 1;
    m_firstWanted = m_key.frame;
    PassOver(firstWanted);
}

void MovieDecoder::PassOver(int firstWanted)
{
    m_firstWanted = std::max(m_firstWanted, firstWanted);
    m_skipBelow = m_index->timed && m_firstWanted > m_last + 1 ? m_index->times[m_firstWanted]
                                                               : MovieIndex::NoTimestamp;
}

// Sends the next packet to the decoder, or the end of the movie; false once both are sent.
// Packets before the key's are left out, and where pictures are known by their timestamps,
// those that nothing refers to are not decoded before the first wanted one.
bool MovieDecoder::Feed()
{
    while (!m_inputEnded) {
        if (!m_input.Read(m_packet)) {
            m_inputEnded = true;
            avcodec_send_packet(m_codec, nullptr);
            return true;
        }
        const bool before =
            m_beforeKey && m_packet->pos >= 0 && m_key.pos >= 0 && m_packet->pos < m_key.pos;
        m_beforeKey = before;
        if (!before && m_packet->size > 0)
            return Send();
        av_packet_unref(m_packet);
    }
    return false;
}

bool MovieDecoder::Send()
{
    const bool early = m_skipBelow != MovieIndex::NoTimestamp &&
                       m_packet->pts != MovieIndex::NoTimestamp && m_packet->pts < m_skipBelow &&
                       !(m_packet->flags & AV_PKT_FLAG_KEY);
    m_codec->skip_frame = early ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    avcodec_send_packet(m_codec, m_packet); // a damaged packet only costs its picture
    av_packet_unref(m_packet);
    return true;
}

MovieDecoder::Result MovieDecoder::DecodeNext(int& frame, YuvPicture& picture)
{
    if (!m_positioned)
        return Result::BadKey;
    for (;;) {
        const int code = avcodec_receive_frame(m_codec, m_frame);
        if (code == AVERROR(EAGAIN) && Feed())
            continue;
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF)
            return m_anchored ? Result::End : Result::BadKey;
        if (code < 0) {
            Fail(QString("The movie could not be decoded: %1.").arg(AvErrorText(code)));
            return Result::Error;
        }
        const int n = Number();
        if (n == BadKeyNumber)
            return av_frame_unref(m_frame), Result::BadKey;
        if (n < m_firstWanted || n >= m_index->FrameCount()) {
            av_frame_unref(m_frame);
            continue;
        }
        frame = n;
        const bool scaled = Scale(picture);
        av_frame_unref(m_frame);
        return scaled ? Result::Picture : Result::Error;
    }
}

// Where pictures carry their own timestamps these name them; else they are counted on from the
// key picture, told apart by its timestamp or its packet's position. After a seek, pictures
// before the key's are passed over: they may refer to pictures not decoded.
int MovieDecoder::Number()
{
    const int n = m_index->timed ? NumberByTimestamp() : NumberByCount();
    if (n >= 0) {
        CheckPassingKey(n);
        m_last = n;
    }
    return n;
}

int MovieDecoder::NumberByTimestamp()
{
    int n = m_index->FrameOfTimestamp(m_frame->pts);
    if (n < 0)
        n = m_anchored ? m_last + 1 : Passed;
    if (m_anchored || m_key.first) {
        m_anchored = true;
        return n;
    }
    if (n < m_key.frame)
        return Passed;
    if (n != m_key.frame || !IsKeyPicture())
        return BadKeyNumber;
    m_anchored = true;
    return n;
}

int MovieDecoder::NumberByCount()
{
    if (m_anchored || m_key.first) {
        m_anchored = true;
        return m_last + 1;
    }
    if (Identifies(m_key))
        return IsKeyPicture() ? (m_anchored = true, m_key.frame) : BadKeyNumber;
    const bool afterKey = m_key.pos >= 0 && m_frame->pkt_pos > m_key.pos;
    const bool passed = m_key.pts != MovieIndex::NoTimestamp &&
                        m_frame->pts != MovieIndex::NoTimestamp && m_frame->pts > m_key.pts;
    return passed || (afterKey && ++m_strays > ReorderLimit) ? BadKeyNumber : Passed;
}

// A continuous decode comes to later key pictures: one that is no key picture after all (the
// container flagged more than the decoder found), or whose number the packets foretold wrong,
// is not decoded from.
void MovieDecoder::CheckPassingKey(int frame)
{
    auto& keys = m_index->keys;
    while (m_nextKey < int(keys.size()) && keys[m_nextKey].frame <= frame) {
        MovieIndex::Key& key = keys[m_nextKey];
        const bool here = m_index->timed ? key.frame == frame : Identifies(key);
        if (!here && !m_index->timed && key.frame + ReorderLimit > frame)
            return; // it may still come
        if (here && (key.frame != frame || !IsKeyPicture()))
            key.usable = false;
        ++m_nextKey;
    }
}

bool MovieDecoder::IsKeyPicture() const
{
    return m_frame->key_frame || m_frame->pict_type == AV_PICTURE_TYPE_I;
}

bool MovieDecoder::Identifies(const MovieIndex::Key& key) const
{
    if (key.pts != MovieIndex::NoTimestamp)
        return m_frame->pts == key.pts;
    return key.pos >= 0 && m_frame->pkt_pos == key.pos;
}

// False when the picture cannot be converted: nothing is given in its place.
bool MovieDecoder::Scale(YuvPicture& picture)
{
    const QSize size = m_index->pictureSize;
    m_scaler = sws_getCachedContext(m_scaler, m_frame->width, m_frame->height,
                                    AVPixelFormat(m_frame->format), size.width(), size.height(),
                                    AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!m_scaler || !m_frame->data[0]) {
        Fail(QString("The movie's pictures (%1) cannot be converted for showing.")
                 .arg(av_get_pix_fmt_name(AVPixelFormat(m_frame->format))));
        return false;
    }
    picture.Allocate(size);
    uint8_t* target[] = {picture.Plane(0), picture.Plane(1), picture.Plane(2)};
    const int lines[] = {picture.LineSize(0), picture.LineSize(1), picture.LineSize(2)};
    return sws_scale(m_scaler, m_frame->data, m_frame->linesize, 0, m_frame->height, target,
                     lines) > 0 ||
           Fail("A picture of the movie could not be converted for showing.");
}

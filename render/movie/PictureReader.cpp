#include "render/movie/PictureReader.h"

#include "render/movie/MovieFile.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/SourceMovie.h"

PictureReader::PictureReader(const SourceMovie& movie, std::function<void()> stillWanted)
    : m_movie(movie), m_stillWanted(std::move(stillWanted))
{
    Open();
}

void PictureReader::Open()
{
    m_format = MovieFile::OpenStream(m_movie.Path(), m_movie.VideoStream());
    m_codec = MovieFile::OpenDecoder(*m_format->streams[m_movie.VideoStream()], m_movie.Path());
    m_number = -1;
    m_draining = false;
}

// Without timestamps on every packet, pictures are counted from the file's start, where the
// count is sure: after a seek a decoder may give or drop pictures around the key.
const AVFrame& PictureReader::Picture(int n)
{
    if (n < 0 || n >= m_movie.PictureCount())
        Lost(n);
    if (m_number == n)
        return *m_frame;
    const int key = m_movie.Timestamped() ? m_movie.KeyAtOrBefore(n) : -1;
    if (m_number < 0 || n < m_number ||
        (m_movie.Timestamped() && key > m_movie.KeyAtOrBefore(m_number)))
        SeekFrom(key, n);
    bool backedOff = false;
    for (int decoded = 1;; ++decoded) {
        if (m_stillWanted && decoded % 16 == 0)
            m_stillWanted();
        const bool given = DecodeNext();
        if (given && m_number == n)
            return *m_frame;
        if (given && m_number < n)
            continue;
        // Landed past it (a seek that fell short of its key, a picture that needs the group
        // before): start from the key before, then from the file's start.
        if (m_seekKey < 0)
            Lost(n);
        SeekFrom(backedOff ? -1 : m_seekKey - 1, n);
        backedOff = true;
    }
}

void PictureReader::SeekFrom(int keyIndex, int wanted)
{
    m_seekKey = keyIndex;
    bool sought = false;
    if (keyIndex >= 0) {
        const SourceMovie::Key& key = m_movie.Keys()[size_t(keyIndex)];
        const int64_t dts =
            key.dts != AV_NOPTS_VALUE ? key.dts : m_movie.Packets()[size_t(key.packet)].pts;
        sought =
            av_seek_frame(m_format.get(), m_movie.VideoStream(), dts, AVSEEK_FLAG_BACKWARD) >= 0;
    }
    if (sought) {
        avcodec_flush_buffers(m_codec.get());
        m_number = -1;
        m_draining = false;
    } else {
        m_seekKey = -1;
        Open(); // the file's start is where pictures are surely counted from
    }
    m_skipBefore = wanted > 0 && m_movie.Timestamped() ? m_movie.PtsOf(wanted) : AV_NOPTS_VALUE;
}

bool PictureReader::SendPacket()
{
    if (m_draining)
        return false;
    for (;;) {
        const int code = av_read_frame(m_format.get(), m_packet.get());
        if (code < 0) {
            m_draining = true;
            avcodec_send_packet(m_codec.get(), nullptr);
            return true;
        }
        // An empty packet would tell the decoder that the movie has ended.
        if (m_packet->stream_index != m_movie.VideoStream() || m_packet->size == 0) {
            av_packet_unref(m_packet.get());
            continue;
        }
        const bool early = m_skipBefore != AV_NOPTS_VALUE && m_packet->pts != AV_NOPTS_VALUE &&
                           m_packet->pts < m_skipBefore;
        m_codec->skip_frame = early ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
        avcodec_send_packet(m_codec.get(), m_packet.get()); // a damaged packet costs its picture
        av_packet_unref(m_packet.get());
        return true;
    }
}

bool PictureReader::DecodeNext()
{
    for (;;) {
        const int code = avcodec_receive_frame(m_codec.get(), m_frame.get());
        if (code == 0) {
            m_number = NumberOfDecoded();
            return true;
        }
        if (code != AVERROR(EAGAIN) || !SendPacket())
            return false;
    }
}

// A picture whose timestamp the packet list does not know follows the one before it.
int PictureReader::NumberOfDecoded() const
{
    if (!m_movie.Timestamped())
        return m_number + 1;
    const int64_t pts =
        m_frame->pts != AV_NOPTS_VALUE ? m_frame->pts : m_frame->best_effort_timestamp;
    const int listed = pts == AV_NOPTS_VALUE ? -1 : m_movie.PictureOfPts(pts);
    if (listed >= 0)
        return listed;
    if (m_number >= 0)
        return m_number + 1;
    return m_seekKey >= 0 ? m_movie.Keys()[size_t(m_seekKey)].picture : 0;
}

void PictureReader::Lost(int n) const
{
    throw RenderFailure(QStringLiteral("Picture %1 of %2 could not be decoded.")
                            .arg(n)
                            .arg(MovieFile::Quoted(m_movie.Path())));
}

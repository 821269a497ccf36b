#include "render/movie/PacketCopier.h"

#include "render/movie/MovieFile.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/SourceMovie.h"

#include <cstring>

PacketCopier::PacketCopier(const SourceMovie& movie)
    : m_movie(movie), m_format(MovieFile::OpenStream(movie.Path(), movie.VideoStream())),
      m_stream(movie.VideoParameters().codec_id, movie.VideoParameters().extradata,
               size_t(std::max(0, movie.VideoParameters().extradata_size)))
{
}

bool PacketCopier::ReadVideoPacket()
{
    av_packet_unref(m_packet.get());
    while (av_read_frame(m_format.get(), m_packet.get()) >= 0) {
        if (m_packet->stream_index == m_movie.VideoStream())
            return true;
        av_packet_unref(m_packet.get());
    }
    return false;
}

void PacketCopier::Copy(int first, int end, const PacketSink& sink)
{
    const SourceMovie::Key& key = m_movie.Keys()[size_t(m_movie.KeyAtOrBefore(first))];
    const int64_t pts = m_movie.PtsOf(first);
    RenderFailure::Check(
        av_seek_frame(m_format.get(), m_movie.VideoStream(),
                      key.dts != AV_NOPTS_VALUE ? key.dts : pts, AVSEEK_FLAG_BACKWARD),
        QStringLiteral("%1 could not be read").arg(MovieFile::Quoted(m_movie.Path())));
    do {
        if (!ReadVideoPacket())
            Fail();
    } while (m_packet->pts != pts);
    for (int copied = 0; copied < end - first; ++copied) {
        if (copied > 0 && !ReadVideoPacket())
            Fail();
        const int picture = m_movie.PictureOfPts(m_packet->pts);
        if (picture < first || picture >= end)
            Fail();
        // Every key picture carries the parameter sets it was made with: a player that seeks
        // to it may hold those of an encoded run.
        const bool key = m_packet->flags & AV_PKT_FLAG_KEY;
        const std::vector<uint8_t> data =
            m_stream.AnnexB(m_packet->data, size_t(m_packet->size), copied == 0 || key);
        AvPtr<AVPacket> out(av_packet_alloc());
        RenderFailure::Check(av_new_packet(out.get(), int(data.size())),
                             QStringLiteral("No memory for a picture"));
        std::memcpy(out->data, data.data(), data.size());
        out->flags = m_packet->flags & AV_PKT_FLAG_KEY;
        sink(*out, picture);
    }
}

void PacketCopier::Fail() const
{
    throw RenderFailure(QStringLiteral("The pictures of %1 changed while they were copied.")
                            .arg(MovieFile::Quoted(m_movie.Path())));
}

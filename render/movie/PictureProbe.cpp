#include "render/movie/PictureProbe.h"

#include "render/movie/MovieFile.h"

PictureProbe::PictureProbe(const AVStream& stream, const QString& hostPath)
    : m_codec(MovieFile::OpenDecoder(stream, hostPath))
{
}

void PictureProbe::Add(const AVPacket& packet, bool shown)
{
    if (m_done || packet.size == 0)
        return;
    avcodec_send_packet(m_codec.get(), &packet);
    m_sent += shown;
    Collect();
    if (m_sent >= Packets)
        OnePerPacket();
}

bool PictureProbe::OnePerPacket()
{
    if (!m_done) {
        m_done = true;
        avcodec_send_packet(m_codec.get(), nullptr);
        Collect();
    }
    return m_given == m_sent;
}

void PictureProbe::Collect()
{
    while (avcodec_receive_frame(m_codec.get(), m_frame.get()) >= 0) {
        ++m_given;
        av_frame_unref(m_frame.get());
    }
}

#pragma once
// Decodes a movie's first few video packets to see whether each gives one picture, which is
// what numbering pictures by their packets needs.
#include "render/movie/AvPtr.h"

#include <QString>

class PictureProbe
{
public:
    static constexpr int Packets = 8;

    PictureProbe(const AVStream& stream, const QString& hostPath);
    void Add(const AVPacket& packet, bool shown);
    // Ends the probe.
    bool OnePerPacket();

private:
    void Collect();

    AvPtr<AVCodecContext> m_codec;
    AvPtr<AVFrame> m_frame{av_frame_alloc()};
    int m_sent = 0;
    int m_given = 0;
    bool m_done = false;
};

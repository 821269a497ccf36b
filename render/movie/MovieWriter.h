#pragma once
// Writes the output movie into a temporary file beside the target, which takes the target's name
// only when the movie is complete; a writer destroyed before that removes its file. The video
// stream counts time in pictures; its decoding times run a fixed delay behind, so that runs from
// different encoders join with decoding times that always rise.
#include "render/movie/AvPtr.h"

#include <QString>

class MovieWriter
{
public:
    // The container follows the target's extension; throws RenderFailure for others.
    explicit MovieWriter(const QString& target);
    ~MovieWriter();
    MovieWriter(const MovieWriter&) = delete;
    MovieWriter& operator=(const MovieWriter&) = delete;

    static bool KnownExtension(const QString& target);

    // parameters describe the packets: start codes and, for H.264 and HEVC, any parameter sets in
    // front.
    void AddVideo(const AVCodecParameters& parameters, AVRational rate, int delay);
    void AddSound(const AVCodecContext& encoder);
    void Begin();
    // picture: where it shows on the output's timeline, counted in pictures.
    void WriteVideo(AVPacket& packet, int64_t picture);
    void WriteSound(AVPacket& packet, AVRational timeBase);
    // Completes the temporary file and makes sure it is on the disk.
    void Finish();
    // Gives the file the target's name.
    void Commit();

    QString TemporaryPath() const { return m_temporary; }

private:
    void Write(AVPacket& packet);
    void CreateTemporary();
    void Discard();

    QString m_target;
    QString m_temporary;
    AVFormatContext* m_format = nullptr;
    AVStream* m_video = nullptr;
    AVStream* m_sound = nullptr;
    AVRational m_pictureTime{1, 25};
    int m_delay = 0;
    int64_t m_videoPackets = 0;
    bool m_committed = false;
};

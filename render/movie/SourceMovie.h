#pragma once
// What one pass over a movie's packets tells, without decoding: its pictures in display order
// with their timestamps, the key pictures decoding can start from, and its streams. Picture n is
// the n-th picture FFmpeg shows in display order; its time counts in seconds from picture 0.
#include "render/movie/AvPtr.h"

#include <QString>
#include <functional>
#include <vector>

class SourceMovie
{
public:
    // In decoding order; picture is -1 for a packet decoded only to be referred to.
    struct Packet {
        int64_t pts;
        int picture;
        bool key;
    };
    struct Key {
        int picture;
        int packet;
        int64_t dts;
        // Nothing decoded after it refers to anything before it (an H.264 or HEVC IDR picture).
        bool closed;
    };

    // Throws RenderFailure when the file is no movie. stillWanted is called now and then while
    // the packets are read, and throws to stop.
    explicit SourceMovie(const QString& hostPath,
                         const std::function<void()>& stillWanted = nullptr);

    const QString& Path() const { return m_path; }
    bool HasVideo() const { return !m_pts.empty(); }
    bool HasSound() const { return m_soundStream >= 0; }

    int PictureCount() const { return int(m_pts.size()); }
    double TimeOf(int picture) const;
    // The first picture whose time is at or after seconds; PictureCount() when none is.
    int FirstPictureFrom(double seconds) const;
    // The picture on screen at seconds: the last one whose time is at or before it (0 before
    // the first).
    int PictureShownAt(double seconds) const;
    // Where the pictures before picture end stop showing: picture end's time, or past the last
    // picture by one picture's length.
    double EndOf(int end) const;
    int64_t PtsOf(int picture) const { return m_pts[size_t(picture)]; }
    // Every packet came with its own timestamp; else pictures are counted from the file's start
    // and have no keys to start from.
    bool Timestamped() const { return m_timestamped; }
    // -1 when no picture has that timestamp.
    int PictureOfPts(int64_t pts) const;
    const std::vector<Key>& Keys() const { return m_keys; }
    // The index of the last key at or before picture; -1 when there is none.
    int KeyAtOrBefore(int picture) const;
    const std::vector<Packet>& Packets() const { return m_packets; }

    AVRational Rate() const { return m_rate; }
    // Every picture lasts exactly 1 / Rate().
    bool ConstantRate() const { return m_constantRate; }
    // How many pictures decoding runs ahead of display at most.
    int ReorderDepth() const { return m_reorderDepth; }
    const AVCodecParameters& VideoParameters() const { return *m_video; }
    int SoundRate() const { return m_soundRate; }
    int SoundChannels() const { return m_soundChannels; }
    int VideoStream() const { return m_videoStream; }
    int SoundStream() const { return m_soundStream; }
    // The container time of picture 0 (of the first sound without pictures), in seconds: the
    // zero of every time above.
    double OriginSeconds() const { return m_origin; }
    double DurationSeconds() const { return m_duration; }

private:
    void ChooseStreams(AVFormatContext* format);
    bool ListPackets(AVFormatContext* format, const std::function<void()>& stillWanted);
    void NumberPictures();
    void DecodePictures(const std::function<void()>& stillWanted);
    void CountPictures();
    void FindTimes(AVFormatContext* format);

    QString m_path;
    std::vector<int64_t> m_pts; // by picture number
    std::vector<Packet> m_packets;
    std::vector<Key> m_keys;
    AvPtr<AVCodecParameters> m_video{avcodec_parameters_alloc()};
    AVRational m_videoTimeBase{1, 1};
    AVRational m_rate{25, 1};
    bool m_constantRate = false;
    bool m_timestamped = true;
    int m_reorderDepth = 0;
    int m_videoStream = -1;
    int m_soundStream = -1;
    int m_soundRate = 0;
    int m_soundChannels = 0;
    double m_origin = 0;
    double m_duration = 0;
};

#pragma once
// One movie's video read with FFmpeg: the packets listed once to number the pictures, then
// pictures decoded in display order from any key frame, each numbered from 0 at the first picture
// and scaled to YUV 4:2:0 at the display size. One thread uses a decoder at a time.
#include "platform/media/MovieIndex.h"
#include "platform/media/YuvPicture.h"

#include <QString>
#include <limits>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

class MovieDecoder
{
public:
    enum class Result { Picture, End };

    MovieDecoder() = default;
    ~MovieDecoder();
    MovieDecoder(const MovieDecoder&) = delete;
    MovieDecoder& operator=(const MovieDecoder&) = delete;

    // Opens the movie, lists its packets and decodes picture 0 into first (when there is video).
    bool Open(const QString& hostPath, QSize displaySize, YuvPicture& first);
    // Opens another decoder on a movie already indexed.
    bool OpenIndexed(const QString& hostPath, const MovieIndex& index);
    QString ErrorText() const { return m_errorText; }
    const MovieIndex& Index() const { return m_index; }

    // Positions before the key picture keyIndex; the next picture given is that key picture, or
    // with firstWanted the first picture numbered at least that (a jump decodes less on its way).
    void SeekToKey(const MovieIndex::Key& key, int firstWanted = 0);
    // The next picture in display order and its number (which may be out of range).
    Result DecodeNext(int& frame, YuvPicture& picture);
    bool LastWasKey() const { return m_lastWasKey; }
    // The packet timestamp of the last picture given (see MovieIndex::Key::landingTs).
    int64_t LastPts() const { return m_lastPts; }

private:
    // The pictures' timestamps as the container gives them, in the stream's time base.
    struct PictureList {
        int64_t first = std::numeric_limits<int64_t>::max();
        int64_t last = std::numeric_limits<int64_t>::min();
        int64_t firstShown = std::numeric_limits<int64_t>::max(); // when the container says
        int count = 0;
        std::vector<int64_t> keyTimes;

        void Add(int64_t ts, bool key);
    };

    bool OpenInput(const QString& hostPath);
    bool OpenCodec();
    void ListPictures(PictureList& list);
    bool BuildIndex(QSize displaySize);
    bool ReadPacket();
    bool LandedOn() const;
    int FrameNumber(int64_t ts) const;
    void Scale(YuvPicture& picture);
    bool Fail(const QString& text);

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwsContext* m_scaler = nullptr;
    int m_stream = -1;
    MovieIndex m_index;
    QString m_errorText;
    bool m_awaitingKey = true;
    bool m_lastWasKey = false;
    bool m_inputEnded = false; // read to the end: the codec gives what it still holds
    int m_lastFrame = -1;
    int m_firstWanted = 0;
    int64_t m_landingTs = MovieIndex::AnyLanding;
    int64_t m_lastPts = MovieIndex::NoTimestamp;
    int64_t m_skipBeforeTs = MovieIndex::NoTimestamp;
};

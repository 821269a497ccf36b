#pragma once
// One movie's video decoded with FFmpeg: the pictures numbered once by the rule of
// FrameServer.h, then pictures given in display order from any key, each with its number and
// scaled to YUV 4:2:0 at the display size. One thread uses a decoder at a time.
#include "platform/media/MovieIndex.h"
#include "platform/media/MovieInput.h"
#include "platform/media/YuvPicture.h"

#include <QString>
#include <atomic>

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;
class IndexBuilder;

class MovieDecoder
{
public:
    enum class Result {
        Picture,
        End,    // the movie has no more pictures
        BadKey, // the key decoding started from does not give its picture: start from another
        Error,  // ErrorText() says why
    };

    MovieDecoder() = default;
    ~MovieDecoder();
    MovieDecoder(const MovieDecoder&) = delete;
    MovieDecoder& operator=(const MovieDecoder&) = delete;

    // Opens the movie; raising stop makes every read give up. stop outlives the decoder.
    bool Open(const QString& hostPath, const std::atomic<bool>* stop);
    // Numbers the movie's pictures into index, reading every packet (and decoding the movie
    // where its packets do not tell), and decodes picture 0 into first. A sound-only file gives
    // an index without video. The index must outlive the decoder.
    bool BuildIndex(MovieIndex& index, QSize displaySize, YuvPicture& first);
    // Decodes by an index another decoder of the same movie built; keys that turn out unusable
    // are marked in it.
    bool Use(MovieIndex& index);
    QString ErrorText() const { return m_errorText; }

    // Starts decoding from a key; with firstWanted, pictures before that frame are passed over
    // (and, where pictures are known by their timestamps, not even decoded when nothing refers
    // to them).
    void SeekToKey(int keyIndex, int firstWanted = 0);
    // Pictures before firstWanted are passed over from now on, as after a seek.
    void PassOver(int firstWanted);
    // The next picture in display order and its number.
    Result DecodeNext(int& frame, YuvPicture& picture);

private:
    bool OpenCodec();
    bool ScanPackets(IndexBuilder& builder, YuvPicture& first);
    bool DecodeAll(IndexBuilder& builder, MovieIndex& index, YuvPicture& first);
    int Collect(YuvPicture& first);
    bool Feed();
    bool Send();
    int Number();
    int NumberByTimestamp();
    int NumberByCount();
    void CheckPassingKey(int frame);
    bool IsKeyPicture() const;
    bool Identifies(const MovieIndex::Key& key) const;
    bool Scale(YuvPicture& picture);
    bool Fail(const QString& text);

    MovieInput m_input;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    SwsContext* m_scaler = nullptr;
    MovieIndex* m_index = nullptr;
    QString m_errorText;

    // Where the decode from the last seek stands.
    bool m_positioned = false;
    bool m_inputEnded = false; // read to the end: the codec gives what it still holds
    MovieIndex::Key m_key{};
    bool m_anchored = false; // the key's picture has come, and numbers are known
    bool m_beforeKey = false;
    int m_strays = 0;  // pictures after the key's packet that came before its picture
    int m_last = -1;   // the number of the last picture given
    int m_nextKey = 0; // the next key a continuous decode checks on its way
    int m_firstWanted = 0;
    int64_t m_skipBelow = MovieIndex::NoTimestamp;
};

#pragma once
// A movie file read with FFmpeg's demuxer: its video packets in decoding order, and seeks that
// never land after the packet asked for. Reads give up as soon as the stop flag is raised, so
// that closing a movie never waits for a slow disk.
#include "platform/media/MovieIndex.h"

#include <QString>
#include <atomic>

struct AVCodecParameters;
struct AVFormatContext;
struct AVPacket;

class MovieInput
{
public:
    MovieInput() = default;
    ~MovieInput();
    MovieInput(const MovieInput&) = delete;
    MovieInput& operator=(const MovieInput&) = delete;

    // Opens hostPath as a local file only; false with ErrorText() on failure. stop outlives the
    // input.
    bool Open(const QString& hostPath, const std::atomic<bool>* stop);
    QString ErrorText() const { return m_errorText; }
    bool HasVideo() const { return m_stream >= 0; }
    bool HasAudio() const;
    double DurationSeconds() const;
    const AVCodecParameters& Video() const;
    double TimeBase() const;
    double GuessedRate() const;
    // The container has no timestamps of its own (elementary streams).
    bool NoTimestamps() const;
    // Clockwise degrees from the stream's display matrix, a multiple of 90.
    int Rotation() const;

    // The next video packet into packet; false at the end, on a read error or when stopped.
    bool Read(AVPacket* packet);
    // Positions before the key's packet: on it or, failing that, on an earlier packet; the
    // first key exactly. False when no way of seeking gets there.
    bool SeekTo(const MovieIndex::Key& key);

private:
    bool OpenFile();
    bool TrySeek(int64_t target, int flags);
    bool Peek();
    bool Fail(const QString& text);

    QString m_path;
    const std::atomic<bool>* m_stop = nullptr;
    AVFormatContext* m_format = nullptr;
    AVPacket* m_peeked = nullptr; // read by a seek's check, given by the next Read
    bool m_hasPeeked = false;
    int m_stream = -1;
    QString m_errorText;
};

#pragma once
// The output's sound: each clip's samples one after another, as many as its pictures last,
// encoded as AAC. Each clip's sound fades in and out over 2 ms, so that a join never clicks.
#include "render/movie/AvPtr.h"

class MovieWriter;
class SoundReader;

class SoundTrack
{
public:
    // Adds the sound stream to the writer.
    SoundTrack(int rate, int channels, MovieWriter& writer);

    // The next clip: samples of it from reader, or of silence without one.
    void BeginClip(SoundReader* reader, long long samples);
    // Writes the clip's sound up to the output's sample position (never past the clip's end).
    void FillTo(long long position);
    // Writes what is left of the clip and finishes it.
    void EndClip();
    void Finish();

private:
    void Fade(AVFrame& chunk, long long firstInClip) const;
    void Encode(bool last);
    void Send(AVFrame* frame);

    MovieWriter& m_writer;
    AvPtr<AVCodecContext> m_codec;
    AvPtr<AVAudioFifo> m_fifo;
    AvPtr<AVFrame> m_chunk{av_frame_alloc()};
    AvPtr<AVFrame> m_frame{av_frame_alloc()};
    AvPtr<AVPacket> m_packet{av_packet_alloc()};
    SoundReader* m_reader = nullptr;
    long long m_position = 0; // samples given to the encoder's queue
    long long m_clipStart = 0;
    long long m_clipEnd = 0;
    long long m_encoded = 0;
    int m_fadeSamples;
};

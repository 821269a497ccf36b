#pragma once
// The output's video: runs of pictures encoded by libx264 or libx265 and runs of groups copied from
// the clips' movies, one after another on the output's timeline. When the output continues a
// movie's stream, each encoded run has an encoder of its own that starts with a key picture and
// carries its parameter sets, so that it joins the copied runs on both sides.
#include "render/movie/PacketCopier.h"
#include "render/movie/VideoEncoder.h"

#include <functional>
#include <memory>

class MovieWriter;
class RenderPlan;

class VideoTrack
{
public:
    // Told the output picture of every packet written, and whether it was copied.
    using Written = std::function<void(long long picture, bool copied)>;

    // Adds the video stream to the writer.
    VideoTrack(const RenderPlan& plan, MovieWriter& writer, Written written);

    // A clip's first picture is a key picture: a cut is a change of scene, and where players
    // seek to.
    void Encode(AVFrame& picture, bool clipStart);
    // Pictures [first, end) of movie, as RenderPlan chose them for copying.
    void Copy(const SourceMovie& movie, int first, int end);
    void Finish();
    long long Pictures() const { return m_next; }

private:
    void EndRun();
    void Write(AVPacket& packet, long long picture, bool copied);

    const RenderPlan& m_plan;
    MovieWriter& m_writer;
    Written m_written;
    bool m_continues;
    std::unique_ptr<VideoEncoder> m_encoder;
    std::unique_ptr<PacketCopier> m_copier;
    long long m_runStart = 0;
    long long m_next = 0;
};

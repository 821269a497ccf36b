#include "render/movie/VideoTrack.h"

#include "render/movie/MovieWriter.h"
#include "render/movie/NalStream.h"
#include "render/movie/RenderFailure.h"
#include "render/movie/RenderPlan.h"
#include "render/movie/SourceMovie.h"

#include <algorithm>
#include <cstring>

VideoTrack::VideoTrack(const RenderPlan& plan, MovieWriter& writer, Written written)
    : m_plan(plan), m_writer(writer), m_written(std::move(written)),
      m_continues(plan.CopiedPictures() > 0)
{
    const auto sink = [this](AVPacket& packet) { Write(packet, m_runStart + packet.pts, false); };
    if (!m_continues) {
        m_encoder = std::make_unique<VideoEncoder>(plan.Video(), true, sink);
        AvPtr<AVCodecParameters> parameters(avcodec_parameters_alloc());
        avcodec_parameters_from_context(parameters.get(), &m_encoder->Context());
        m_writer.AddVideo(*parameters, plan.Video().rate, m_encoder->Delay());
        return;
    }
    // The stream is described by the movie it continues; decoding times must leave room for the
    // deepest reordering of any run.
    int delay = VideoEncoder(plan.Video(), false, sink).Delay();
    for (const ClipPlan& clip : plan.Clips())
        if (clip.Copies())
            delay = std::max(delay, clip.movie->ReorderDepth());
    const AVCodecParameters& reference = plan.Reference()->VideoParameters();
    AvPtr<AVCodecParameters> parameters(avcodec_parameters_alloc());
    avcodec_parameters_copy(parameters.get(), &reference);
    const NalStream stream(reference.codec_id, reference.extradata,
                           size_t(std::max(0, reference.extradata_size)));
    const std::vector<uint8_t>& sets = stream.ParameterSets();
    av_freep(&parameters->extradata);
    parameters->extradata =
        static_cast<uint8_t*>(av_mallocz(sets.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    std::memcpy(parameters->extradata, sets.data(), sets.size());
    parameters->extradata_size = int(sets.size());
    m_writer.AddVideo(*parameters, plan.Video().rate, delay);
}

void VideoTrack::Write(AVPacket& packet, long long picture, bool copied)
{
    m_writer.WriteVideo(packet, picture);
    m_written(picture, copied);
}

void VideoTrack::Encode(AVFrame& picture, bool clipStart)
{
    if (!m_encoder) {
        m_runStart = m_next;
        m_encoder = std::make_unique<VideoEncoder>(m_plan.Video(), false, [this](AVPacket& packet) {
            Write(packet, m_runStart + packet.pts, false);
        });
    }
    m_encoder->Encode(picture, clipStart);
    ++m_next;
}

void VideoTrack::EndRun()
{
    if (m_encoder) {
        m_encoder->Finish();
        m_encoder.reset();
    }
}

void VideoTrack::Copy(const SourceMovie& movie, int first, int end)
{
    EndRun();
    if (!m_copier || &m_copier->Movie() != &movie)
        m_copier = std::make_unique<PacketCopier>(movie);
    const long long start = m_next;
    m_copier->Copy(first, end, [&](AVPacket& packet, int picture) {
        Write(packet, start + (picture - first), true);
    });
    m_next += end - first;
}

void VideoTrack::Finish()
{
    EndRun();
}

// The functions of FFmpeg's libraries that the renderer calls beyond the player's, defined in the
// program itself as platform/media/ondemand defines those: the libraries still load when first
// needed (for the renderer, when a show is first rendered). Linked into reelmix only.
#include "platform/media/MediaLibraries.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
}

extern "C" {
REELMIX_ON_DEMAND(AvFormat, int, avformat_alloc_output_context2,
                  (AVFormatContext * *context, const AVOutputFormat* format, const char* name,
                   const char* file),
                  (context, format, name, file))
REELMIX_ON_DEMAND(AvFormat, void, avformat_free_context, (AVFormatContext * context), (context))
REELMIX_ON_DEMAND(AvFormat, AVStream*, avformat_new_stream,
                  (AVFormatContext * context, const AVCodec* codec), (context, codec))
REELMIX_ON_DEMAND(AvFormat, int, avformat_write_header,
                  (AVFormatContext * context, AVDictionary** options), (context, options))
REELMIX_ON_DEMAND(AvFormat, int, av_interleaved_write_frame,
                  (AVFormatContext * context, AVPacket* packet), (context, packet))
REELMIX_ON_DEMAND(AvFormat, int, av_write_trailer, (AVFormatContext * context), (context))
REELMIX_ON_DEMAND(AvFormat, int, avio_open, (AVIOContext * *context, const char* url, int flags),
                  (context, url, flags))
REELMIX_ON_DEMAND(AvFormat, int, avio_closep, (AVIOContext * *context), (context))

REELMIX_ON_DEMAND(AvCodec, const AVCodec*, avcodec_find_encoder, (enum AVCodecID id), (id))
REELMIX_ON_DEMAND(AvCodec, const AVCodec*, avcodec_find_encoder_by_name, (const char* name), (name))
REELMIX_ON_DEMAND(AvCodec, AVCodecParameters*, avcodec_parameters_alloc, (void), ())
REELMIX_ON_DEMAND(AvCodec, int, avcodec_parameters_copy,
                  (AVCodecParameters * target, const AVCodecParameters* source), (target, source))
REELMIX_ON_DEMAND(AvCodec, void, avcodec_parameters_free, (AVCodecParameters * *parameters),
                  (parameters))
REELMIX_ON_DEMAND(AvCodec, int, avcodec_parameters_from_context,
                  (AVCodecParameters * parameters, const AVCodecContext* codec),
                  (parameters, codec))
REELMIX_ON_DEMAND(AvCodec, int, avcodec_send_frame, (AVCodecContext * codec, const AVFrame* frame),
                  (codec, frame))
REELMIX_ON_DEMAND(AvCodec, int, avcodec_receive_packet, (AVCodecContext * codec, AVPacket* packet),
                  (codec, packet))
REELMIX_ON_DEMAND(AvCodec, int, av_new_packet, (AVPacket * packet, int size), (packet, size))
REELMIX_ON_DEMAND(AvCodec, void, av_packet_rescale_ts,
                  (AVPacket * packet, AVRational from, AVRational to), (packet, from, to))

REELMIX_ON_DEMAND(AvUtil, AVAudioFifo*, av_audio_fifo_alloc,
                  (enum AVSampleFormat format, int channels, int samples),
                  (format, channels, samples))
REELMIX_ON_DEMAND(AvUtil, void, av_audio_fifo_free, (AVAudioFifo * fifo), (fifo))
REELMIX_ON_DEMAND(AvUtil, int, av_audio_fifo_write, (AVAudioFifo * fifo, void** data, int samples),
                  (fifo, data, samples))
REELMIX_ON_DEMAND(AvUtil, int, av_audio_fifo_read, (AVAudioFifo * fifo, void** data, int samples),
                  (fifo, data, samples))
REELMIX_ON_DEMAND(AvUtil, int, av_audio_fifo_drain, (AVAudioFifo * fifo, int samples),
                  (fifo, samples))
REELMIX_ON_DEMAND(AvUtil, void, av_audio_fifo_reset, (AVAudioFifo * fifo), (fifo))
REELMIX_ON_DEMAND(AvUtil, int, av_audio_fifo_size, (AVAudioFifo * fifo), (fifo))
REELMIX_ON_DEMAND(AvUtil, int, av_channel_layout_copy,
                  (AVChannelLayout * target, const AVChannelLayout* source), (target, source))
REELMIX_ON_DEMAND(AvUtil, void, av_channel_layout_default, (AVChannelLayout * layout, int channels),
                  (layout, channels))
REELMIX_ON_DEMAND(AvUtil, void, av_channel_layout_uninit, (AVChannelLayout * layout), (layout))
REELMIX_ON_DEMAND(AvUtil, int, av_dict_set_int,
                  (AVDictionary * *dictionary, const char* key, int64_t value, int flags),
                  (dictionary, key, value, flags))
REELMIX_ON_DEMAND(AvUtil, AVFrame*, av_frame_clone, (const AVFrame* frame), (frame))
REELMIX_ON_DEMAND(AvUtil, int, av_frame_get_buffer, (AVFrame * frame, int align), (frame, align))
REELMIX_ON_DEMAND(AvUtil, void*, av_mallocz, (size_t size), (size))
REELMIX_ON_DEMAND(AvUtil, void, av_freep, (void* pointer), (pointer))
REELMIX_ON_DEMAND(AvUtil, int, av_image_fill_black,
                  (uint8_t * data[4], const ptrdiff_t lines[4], enum AVPixelFormat format,
                   enum AVColorRange range, int width, int height),
                  (data, lines, format, range, width, height))
REELMIX_ON_DEMAND(AvUtil, const AVPixFmtDescriptor*, av_pix_fmt_desc_get,
                  (enum AVPixelFormat format), (format))
REELMIX_ON_DEMAND(AvUtil, int64_t, av_rescale_q, (int64_t a, AVRational from, AVRational to),
                  (a, from, to))
REELMIX_ON_DEMAND(AvUtil, int64_t, av_rescale_q_rnd,
                  (int64_t a, AVRational from, AVRational to, enum AVRounding rounding),
                  (a, from, to, rounding))

REELMIX_ON_DEMAND(SwResample, int, swr_alloc_set_opts2,
                  (SwrContext * *context, AVChannelLayout* outLayout, enum AVSampleFormat outFormat,
                   int outRate, AVChannelLayout* inLayout, enum AVSampleFormat inFormat, int inRate,
                   int logOffset, void* logContext),
                  (context, outLayout, outFormat, outRate, inLayout, inFormat, inRate, logOffset,
                   logContext))
REELMIX_ON_DEMAND(SwResample, int, swr_init, (SwrContext * context), (context))
REELMIX_ON_DEMAND(SwResample, void, swr_free, (SwrContext * *context), (context))
REELMIX_ON_DEMAND(SwResample, int, swr_get_out_samples, (SwrContext * context, int samples),
                  (context, samples))
REELMIX_ON_DEMAND(SwResample, int, swr_convert,
                  (SwrContext * context, uint8_t** out, int outCount, const uint8_t** in,
                   int inCount),
                  (context, out, outCount, in, inCount))
}

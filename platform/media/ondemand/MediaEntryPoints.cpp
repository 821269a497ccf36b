// The media libraries' functions that the program calls, defined in the program itself: each
// finds the real function at its first call (MediaLibraries), so that the libraries load when
// they are first needed instead of before the window shows. Linked into reelmix only, with
// --as-needed, so that the program does not name the libraries at all; a call to a function
// missing here names its library again, which the test ProgramLoadsMediaLibrariesOnDemand
// reports.
#include "platform/media/MediaLibraries.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/display.h>
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}
#include <mpv/client.h>
#include <mpv/render.h>

extern "C" {
REELMIX_ON_DEMAND(Mpv, mpv_handle*, mpv_create, (void), ())
REELMIX_ON_DEMAND(Mpv, int, mpv_initialize, (mpv_handle * ctx), (ctx))
REELMIX_ON_DEMAND(Mpv, void, mpv_terminate_destroy, (mpv_handle * ctx), (ctx))
REELMIX_ON_DEMAND(Mpv, const char*, mpv_error_string, (int error), (error))
REELMIX_ON_DEMAND(Mpv, int, mpv_set_option_string,
                  (mpv_handle * ctx, const char* name, const char* data), (ctx, name, data))
REELMIX_ON_DEMAND(Mpv, int, mpv_command_node_async,
                  (mpv_handle * ctx, uint64_t reply, mpv_node* args), (ctx, reply, args))
REELMIX_ON_DEMAND(Mpv, int, mpv_get_property_async,
                  (mpv_handle * ctx, uint64_t reply, const char* name, mpv_format format),
                  (ctx, reply, name, format))
REELMIX_ON_DEMAND(Mpv, int, mpv_set_property_async,
                  (mpv_handle * ctx, uint64_t reply, const char* name, mpv_format format,
                   void* data),
                  (ctx, reply, name, format, data))
REELMIX_ON_DEMAND(Mpv, int, mpv_observe_property,
                  (mpv_handle * ctx, uint64_t reply, const char* name, mpv_format format),
                  (ctx, reply, name, format))
REELMIX_ON_DEMAND(Mpv, int, mpv_request_log_messages, (mpv_handle * ctx, const char* level),
                  (ctx, level))
REELMIX_ON_DEMAND(Mpv, int, mpv_hook_add,
                  (mpv_handle * ctx, uint64_t reply, const char* name, int priority),
                  (ctx, reply, name, priority))
REELMIX_ON_DEMAND(Mpv, int, mpv_hook_continue, (mpv_handle * ctx, uint64_t id), (ctx, id))
REELMIX_ON_DEMAND(Mpv, void, mpv_set_wakeup_callback,
                  (mpv_handle * ctx, void (*callback)(void*), void* data), (ctx, callback, data))
REELMIX_ON_DEMAND(Mpv, mpv_event*, mpv_wait_event, (mpv_handle * ctx, double timeout),
                  (ctx, timeout))
REELMIX_ON_DEMAND(Mpv, int, mpv_render_context_create,
                  (mpv_render_context * *context, mpv_handle* ctx, mpv_render_param* params),
                  (context, ctx, params))
REELMIX_ON_DEMAND(Mpv, void, mpv_render_context_free, (mpv_render_context * ctx), (ctx))
REELMIX_ON_DEMAND(Mpv, int, mpv_render_context_render,
                  (mpv_render_context * ctx, mpv_render_param* params), (ctx, params))
REELMIX_ON_DEMAND(Mpv, void, mpv_render_context_set_update_callback,
                  (mpv_render_context * ctx, mpv_render_update_fn callback, void* data),
                  (ctx, callback, data))
REELMIX_ON_DEMAND(Mpv, uint64_t, mpv_render_context_update, (mpv_render_context * ctx), (ctx))

REELMIX_ON_DEMAND(AvFormat, AVFormatContext*, avformat_alloc_context, (void), ())
REELMIX_ON_DEMAND(AvFormat, int, avformat_open_input,
                  (AVFormatContext * *context, const char* url, const AVInputFormat* format,
                   AVDictionary** options),
                  (context, url, format, options))
REELMIX_ON_DEMAND(AvFormat, int, avformat_find_stream_info,
                  (AVFormatContext * context, AVDictionary** options), (context, options))
REELMIX_ON_DEMAND(AvFormat, void, avformat_close_input, (AVFormatContext * *context), (context))
REELMIX_ON_DEMAND(AvFormat, int, av_find_best_stream,
                  (AVFormatContext * context, enum AVMediaType type, int wanted, int related,
                   const AVCodec** decoder, int flags),
                  (context, type, wanted, related, decoder, flags))
REELMIX_ON_DEMAND(AvFormat, AVRational, av_guess_frame_rate,
                  (AVFormatContext * context, AVStream* stream, AVFrame* frame),
                  (context, stream, frame))
REELMIX_ON_DEMAND(AvFormat, int, av_read_frame, (AVFormatContext * context, AVPacket* packet),
                  (context, packet))
REELMIX_ON_DEMAND(AvFormat, int, av_seek_frame,
                  (AVFormatContext * context, int stream, int64_t timestamp, int flags),
                  (context, stream, timestamp, flags))
REELMIX_ON_DEMAND(AvFormat, int, avformat_seek_file,
                  (AVFormatContext * context, int stream, int64_t least, int64_t timestamp,
                   int64_t most, int flags),
                  (context, stream, least, timestamp, most, flags))
REELMIX_ON_DEMAND(AvFormat, uint8_t*, av_stream_get_side_data,
                  (const AVStream* stream, enum AVPacketSideDataType type, size_t* size),
                  (stream, type, size))

REELMIX_ON_DEMAND(AvCodec, AVCodecContext*, avcodec_alloc_context3, (const AVCodec* codec), (codec))
REELMIX_ON_DEMAND(AvCodec, void, avcodec_free_context, (AVCodecContext * *context), (context))
REELMIX_ON_DEMAND(AvCodec, const AVCodec*, avcodec_find_decoder, (enum AVCodecID id), (id))
REELMIX_ON_DEMAND(AvCodec, const char*, avcodec_get_name, (enum AVCodecID id), (id))
REELMIX_ON_DEMAND(AvCodec, int, avcodec_parameters_to_context,
                  (AVCodecContext * context, const AVCodecParameters* parameters),
                  (context, parameters))
REELMIX_ON_DEMAND(AvCodec, int, avcodec_open2,
                  (AVCodecContext * context, const AVCodec* codec, AVDictionary** options),
                  (context, codec, options))
REELMIX_ON_DEMAND(AvCodec, void, avcodec_flush_buffers, (AVCodecContext * context), (context))
REELMIX_ON_DEMAND(AvCodec, int, avcodec_send_packet,
                  (AVCodecContext * context, const AVPacket* packet), (context, packet))
REELMIX_ON_DEMAND(AvCodec, int, avcodec_receive_frame, (AVCodecContext * context, AVFrame* frame),
                  (context, frame))
REELMIX_ON_DEMAND(AvCodec, AVPacket*, av_packet_alloc, (void), ())
REELMIX_ON_DEMAND(AvCodec, void, av_packet_free, (AVPacket * *packet), (packet))
REELMIX_ON_DEMAND(AvCodec, void, av_packet_unref, (AVPacket * packet), (packet))
REELMIX_ON_DEMAND(AvCodec, void, av_packet_move_ref, (AVPacket * target, AVPacket* source),
                  (target, source))

REELMIX_ON_DEMAND(AvUtil, AVFrame*, av_frame_alloc, (void), ())
REELMIX_ON_DEMAND(AvUtil, void, av_frame_free, (AVFrame * *frame), (frame))
REELMIX_ON_DEMAND(AvUtil, void, av_frame_unref, (AVFrame * frame), (frame))
REELMIX_ON_DEMAND(AvUtil, int, av_dict_set,
                  (AVDictionary * *dictionary, const char* key, const char* value, int flags),
                  (dictionary, key, value, flags))
REELMIX_ON_DEMAND(AvUtil, void, av_dict_free, (AVDictionary * *dictionary), (dictionary))
REELMIX_ON_DEMAND(AvUtil, void, av_log_set_level, (int level), (level))
REELMIX_ON_DEMAND(AvUtil, double, av_display_rotation_get, (const int32_t matrix[9]), (matrix))
REELMIX_ON_DEMAND(AvUtil, const char*, av_get_pix_fmt_name, (enum AVPixelFormat format), (format))
REELMIX_ON_DEMAND(AvUtil, int, av_strerror, (int error, char* buffer, size_t size),
                  (error, buffer, size))

REELMIX_ON_DEMAND(SwScale, SwsContext*, sws_getCachedContext,
                  (SwsContext * context, int sourceWidth, int sourceHeight,
                   enum AVPixelFormat sourceFormat, int width, int height,
                   enum AVPixelFormat format, int flags, SwsFilter* sourceFilter, SwsFilter* filter,
                   const double* parameters),
                  (context, sourceWidth, sourceHeight, sourceFormat, width, height, format, flags,
                   sourceFilter, filter, parameters))
REELMIX_ON_DEMAND(SwScale, int, sws_scale,
                  (SwsContext * context, const uint8_t* const source[], const int sourceStride[],
                   int sliceY, int sliceHeight, uint8_t* const destination[],
                   const int destinationStride[]),
                  (context, source, sourceStride, sliceY, sliceHeight, destination,
                   destinationStride))
REELMIX_ON_DEMAND(SwScale, void, sws_freeContext, (SwsContext * context), (context))
}

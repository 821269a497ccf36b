#include "platform/media/MovieProbe.h"

#include "platform/media/AvErrorText.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <cmath>
#include <memory>

namespace
{
struct FormatCloser {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};

double StreamSeconds(const AVFormatContext* format, const AVStream* stream)
{
    if (stream && stream->duration > 0)
        return stream->duration * av_q2d(stream->time_base);
    return format->duration > 0 ? format->duration / double(AV_TIME_BASE) : 0.0;
}

// QuickTime and AVI headers count their pictures; for other containers they are counted from
// the rate and length, since an index read so far lists only some (MPEG) or only key pictures.
int64_t PictureCount(const AVStream* stream, double seconds, double rate)
{
    return stream->nb_frames > 0 ? stream->nb_frames : int64_t(std::llround(seconds * rate));
}
} // namespace

bool MovieProbe::Probe(const QString& hostPath, Facts& facts, QString& error)
{
    av_log_set_level(AV_LOG_ERROR);
    // Only as a file: a name that looks like a URL must not make the library go to the network.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const QByteArray url = QByteArray("file:") + hostPath.toUtf8();
    AVFormatContext* opened = nullptr;
    int code = avformat_open_input(&opened, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (code < 0) {
        error = QString("The file could not be opened: %1.").arg(AvErrorText(code));
        return false;
    }
    const std::unique_ptr<AVFormatContext, FormatCloser> format(opened);
    code = avformat_find_stream_info(format.get(), nullptr);
    if (code < 0) {
        error = QString("The file could not be read as a movie: %1.").arg(AvErrorText(code));
        return false;
    }
    facts = Facts();
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0) {
        if (av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) < 0) {
            error = "The file holds neither pictures nor sound.";
            return false;
        }
        facts.seconds = StreamSeconds(format.get(), nullptr);
        return true;
    }
    AVStream* stream = format->streams[index];
    AVRational rate = stream->avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0)
        rate = stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0) {
        facts.rateNum = rate.num;
        facts.rateDen = rate.den;
    }
    facts.seconds = StreamSeconds(format.get(), stream);
    facts.frames = PictureCount(stream, facts.seconds, facts.Rate());
    return true;
}

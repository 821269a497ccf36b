#include "render/movie/MovieWriter.h"

#include "render/movie/MovieFile.h"
#include "render/movie/RenderFailure.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{
const char* ContainerOf(const QString& target)
{
    const QString extension = QFileInfo(target).suffix().toLower();
    if (extension == "mp4" || extension == "m4v")
        return "mp4";
    if (extension == "mkv")
        return "matroska";
    if (extension == "mov")
        return "mov";
    return nullptr;
}

QString FileProblem(const QString& path)
{
    return QStringLiteral("%1 could not be written").arg(MovieFile::Quoted(path));
}
} // namespace

bool MovieWriter::KnownExtension(const QString& target)
{
    return ContainerOf(target) != nullptr;
}

MovieWriter::MovieWriter(const QString& target) : m_target(target)
{
    // A file size limit must end in a message, not in the signal's default of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const char* container = ContainerOf(target);
    if (!container)
        throw RenderFailure(QStringLiteral("Choose a file name that ends in .mp4, .mkv or .mov."));
    CreateTemporary();
    avformat_alloc_output_context2(&m_format, nullptr, container, nullptr);
    if (!m_format) {
        Discard();
        throw RenderFailure(QStringLiteral("No memory for the movie."));
    }
}

// Hidden beside the target, on the same disk, so that the rename is atomic; created with the
// user's usual permissions, which mkstemp would narrow.
void MovieWriter::CreateTemporary()
{
    const QFileInfo info(m_target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = QStringLiteral("%1/.%2.%3.part")
                                 .arg(info.absolutePath(), info.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QChar('0'));
        const int fd = open(path.toUtf8().constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            close(fd);
            m_temporary = path;
            return;
        }
        if (errno != EEXIST)
            break;
    }
    RenderFailure::Check(AVERROR(errno), FileProblem(m_target));
}

MovieWriter::~MovieWriter()
{
    Discard();
}

void MovieWriter::Discard()
{
    if (m_format) {
        if (m_format->pb)
            avio_closep(&m_format->pb);
        avformat_free_context(m_format);
        m_format = nullptr;
    }
    if (!m_committed && !m_temporary.isEmpty())
        std::remove(m_temporary.toUtf8().constData());
}

void MovieWriter::AddVideo(const AVCodecParameters& parameters, AVRational rate, int delay)
{
    m_video = avformat_new_stream(m_format, nullptr);
    avcodec_parameters_copy(m_video->codecpar, &parameters);
    m_video->codecpar->codec_tag = 0;
    m_pictureTime = av_inv_q(rate);
    m_video->time_base = m_pictureTime;
    m_video->avg_frame_rate = rate;
    m_delay = delay;
}

void MovieWriter::AddSound(const AVCodecContext& encoder)
{
    m_sound = avformat_new_stream(m_format, nullptr);
    avcodec_parameters_from_context(m_sound->codecpar, &encoder);
    m_sound->time_base = encoder.time_base;
}

void MovieWriter::Begin()
{
    const QByteArray url = QByteArray("file:") + m_temporary.toUtf8();
    RenderFailure::Check(avio_open(&m_format->pb, url.constData(), AVIO_FLAG_WRITE),
                         FileProblem(m_target));
    RenderFailure::Check(avformat_write_header(m_format, nullptr), FileProblem(m_target));
}

void MovieWriter::WriteVideo(AVPacket& packet, int64_t picture)
{
    packet.pts = picture;
    packet.dts = m_videoPackets++ - m_delay;
    packet.duration = 1;
    if (packet.dts > packet.pts)
        throw RenderFailure(
            QStringLiteral("The video's pictures are out of order near picture %1.").arg(picture));
    packet.stream_index = m_video->index;
    av_packet_rescale_ts(&packet, m_pictureTime, m_video->time_base);
    Write(packet);
}

void MovieWriter::WriteSound(AVPacket& packet, AVRational timeBase)
{
    packet.stream_index = m_sound->index;
    av_packet_rescale_ts(&packet, timeBase, m_sound->time_base);
    Write(packet);
}

void MovieWriter::Write(AVPacket& packet)
{
    RenderFailure::Check(av_interleaved_write_frame(m_format, &packet), FileProblem(m_target));
}

void MovieWriter::Finish()
{
    RenderFailure::Check(av_write_trailer(m_format), FileProblem(m_target));
    RenderFailure::Check(avio_closep(&m_format->pb), FileProblem(m_target));
    const int fd = open(m_temporary.toUtf8().constData(), O_RDONLY);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0)
        close(fd);
    if (!synced)
        RenderFailure::Check(AVERROR(error), FileProblem(m_target));
}

void MovieWriter::Commit()
{
    if (std::rename(m_temporary.toUtf8().constData(), m_target.toUtf8().constData()) != 0)
        RenderFailure::Check(AVERROR(errno), FileProblem(m_target));
    m_committed = true;
}

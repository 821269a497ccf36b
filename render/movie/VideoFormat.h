#pragma once
// The pictures of the output's video stream, and how they are encoded.
extern "C" {
#include <libavcodec/avcodec.h>
}

#include <QString>

struct VideoFormat {
    // H.264 through libx264, or HEVC through libx265 to continue an HEVC stream.
    AVCodecID codec = AV_CODEC_ID_H264;
    int width = 0;
    int height = 0;
    AVPixelFormat pixels = AV_PIX_FMT_YUV420P;
    AVRational rate{25, 1};
    AVRational aspect{1, 1}; // of a pixel
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    AVColorSpace space = AVCOL_SPC_UNSPECIFIED;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;
    // The encoder's own choice unless set: a profile name ("high") and FFmpeg's level number.
    QString profile;
    int level = 0;
    // The encoder's speed preset and constant rate factor.
    QString preset = QStringLiteral("medium");
    int quality = 16;
};

#pragma once
// A decoded picture kept at display size in YUV 4:2:0, a third of the bytes of its RGB form;
// only the picture shown is turned into an image.
#include <QSize>
#include <cstdint>
#include <vector>

struct YuvPicture {
    QSize size;                 // even width and height
    std::vector<uint8_t> bytes; // the Y plane, then U, then V

    void Allocate(QSize pictureSize);
    uint8_t* Plane(int i) { return bytes.data() + PlaneOffset(i); }
    const uint8_t* Plane(int i) const { return bytes.data() + PlaneOffset(i); }
    // Rows are padded: the scaler writes whole vector registers past a row's last pixel.
    int LineSize(int i) const;

private:
    size_t PlaneOffset(int i) const;
};

#pragma once
// A decoded picture kept at display size in YUV 4:2:0, a third of the bytes of its RGB form;
// only the picture shown is turned into an image.
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <memory>

struct YuvPicture {
    QSize size; // even width and height

    void Allocate(QSize pictureSize);
    uint8_t* Plane(int i) { return m_bytes.get() + PlaneOffset(i); }
    const uint8_t* Plane(int i) const { return m_bytes.get() + PlaneOffset(i); }
    // Rows are padded: the scaler writes whole vector registers past a row's last pixel.
    int LineSize(int i) const;
    // The memory the picture holds: the Y plane, then U, then V.
    size_t Bytes() const { return m_bytes.get_deleter().size; }

private:
    // A large picture is a mapping of its own, given back to the system when it is freed: the
    // allocator would keep a closed movie's pictures for its own later use, and each movie
    // opened after another would add its cache to the program's memory. Small ones come from
    // the allocator, so that a cache of them needs no more mappings than the system allows.
    struct Release {
        size_t size;
        bool mapped;
        void operator()(uint8_t* bytes) const;
    };
    size_t PlaneOffset(int i) const;

    std::unique_ptr<uint8_t, Release> m_bytes{nullptr, Release{0, false}};
};

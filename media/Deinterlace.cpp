// Deinterlacing without delay: the even lines stay, every odd line is
// rebuilt from the lines around it in the same picture by the five-tap filter
// (-1 4 2 4 -1) / 8.  The libraries' own deinterlacers are filters that need
// a graph and may hold pictures back; this one works in place of a picture.
#include <algorithm>
#include <cstring>
#include <vector>

#include "media/AVApi.h"
#include "media/FFmpegEncode.h"

namespace media {

namespace {

void DeinterlacePlane(uint8_t* dst, int dstLinesize, const uint8_t* src, int srcLinesize, int width,
                      int height) {
    // The source lines a rebuilt line needs may already be overwritten when
    // dst is src, so the filter reads from a copy of the untouched lines.
    std::vector<uint8_t> copy(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(copy.data() + static_cast<size_t>(y) * width,
                    src + static_cast<ptrdiff_t>(y) * srcLinesize, static_cast<size_t>(width));
    auto line = [&](int y) {
        return copy.data() + static_cast<size_t>(std::clamp(y, 0, height - 1)) * width;
    };
    for (int y = 0; y < height; ++y) {
        uint8_t* out = dst + static_cast<ptrdiff_t>(y) * dstLinesize;
        if (y % 2 == 0) {
            std::memcpy(out, line(y), static_cast<size_t>(width));
            continue;
        }
        const uint8_t *m2 = line(y - 2), *m1 = line(y - 1), *c = line(y), *p1 = line(y + 1),
                      *p2 = line(y + 2);
        for (int x = 0; x < width; ++x) {
            const int sum = -m2[x] + 4 * m1[x] + 2 * c[x] + 4 * p1[x] - p2[x];
            out[x] = static_cast<uint8_t>(std::clamp((sum + 4) >> 3, 0, 255));
        }
    }
}

} // namespace

int DeinterlacePicture(uint8_t* const dst[4], const int dstLinesize[4], const uint8_t* const src[4],
                       const int srcLinesize[4], AVPixelFormat APixFmt, int AWidth, int AHeight) {
    // Planar 8-bit pictures only: the filter works on the lines of each plane.
    switch (APixFmt) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_GRAY8:
        break;
    default:
        return -1;
    }
    if (AWidth <= 0 || AHeight <= 0) return -1;
    const AVPixFmtDescriptor* desc = av::av_pix_fmt_desc_get(APixFmt);
    for (int p = 0; p < desc->nb_components; ++p) {
        const int w = p == 0 ? AWidth : AV_CEIL_RSHIFT(AWidth, desc->log2_chroma_w);
        const int h = p == 0 ? AHeight : AV_CEIL_RSHIFT(AHeight, desc->log2_chroma_h);
        DeinterlacePlane(dst[p], dstLinesize[p], src[p], srcLinesize[p], w, h);
    }
    return 0;
}

} // namespace media

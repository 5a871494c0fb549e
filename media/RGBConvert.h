#pragma once
// Decoded pictures to 24-bit bitmaps.  The probe, the player and the engine's
// frame hooks each keep their own context; it keeps its buffer and scaler
// between pictures because it runs for every hooked frame.
#include <cstdint>
#include <memory>

extern "C" {
#include <libavutil/pixfmt.h>
}

#include "media/FrameBitmap.h"

struct AVFrame;
struct SwsContext;

namespace media {

// The planes of a picture.
struct TAVPicture {
    uint8_t* data[4] = {};
    int linesize[4] = {};
};

TAVPicture PictureOf(const AVFrame* frame);

struct TRGBConvertContext {
    TRGBConvertContext() = default;
    ~TRGBConvertContext(); // releases what ResetRGBContext releases
    TRGBConvertContext(const TRGBConvertContext&) = delete;
    TRGBConvertContext& operator=(const TRGBConvertContext&) = delete;

    AVPixelFormat RGBPixFmt = AV_PIX_FMT_BGR24;
    std::unique_ptr<TFrameBitmap> Bitmap;
    uint8_t* RGBBuf = nullptr; // av_malloc
    int RGBBufSize = 0;
    TAVPicture RGBPicture;
    const TAVPicture* RGBPictureRef = nullptr; // the picture last copied into Bitmap
    SwsContext* toRGB_convert_ctx = nullptr;
    // Made and used by the frame-hook paths of the engine and the player;
    // released here.
    SwsContext* fromRGB_convert_ctx = nullptr;
};

void ResetRGBContext(TRGBConvertContext& ctx);

std::unique_ptr<TFrameBitmap> NewFrameBitmap(int width, int height);

// Converts the picture into ctx.Bitmap (created on first use).  Pictures
// already in the bitmap's layout are copied without the scaler.  False when
// the size is empty or the scaler cannot convert the format.
bool PictureToBitmap(TRGBConvertContext& ctx, const TAVPicture& picture, AVPixelFormat pixFmt, int height,
                     int width);

// Copies the bitmap's rows back into the picture PictureToBitmap last copied
// from (a hook may have painted on the bitmap).
void BitmapToRGBPicture(const TRGBConvertContext& ctx, int height);

} // namespace media

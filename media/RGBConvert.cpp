#include "media/RGBConvert.h"

#include <algorithm>
#include <cstring>

#include "media/AVApi.h"

namespace media {
namespace {
// The widest SIMD registers the scaler uses, in bytes.
constexpr int kRowAlign = 64;
} // namespace

TAVPicture PictureOf(const AVFrame* frame) {
    TAVPicture p;
    for (int i = 0; i < 4; ++i) {
        p.data[i] = frame->data[i];
        p.linesize[i] = frame->linesize[i];
    }
    return p;
}

TRGBConvertContext::~TRGBConvertContext() {
    ResetRGBContext(*this);
}

void ResetRGBContext(TRGBConvertContext& ctx) {
    ctx.Bitmap.reset();
    // Only what was made while the libraries were bound can exist here.
    if (ctx.RGBBuf) av::av_free(ctx.RGBBuf);
    if (ctx.toRGB_convert_ctx) av::sws_freeContext(ctx.toRGB_convert_ctx);
    if (ctx.fromRGB_convert_ctx) av::sws_freeContext(ctx.fromRGB_convert_ctx);
    ctx.RGBBuf = nullptr;
    ctx.toRGB_convert_ctx = nullptr;
    ctx.fromRGB_convert_ctx = nullptr;
    ctx.RGBPixFmt = AV_PIX_FMT_BGR24;
    ctx.RGBBufSize = 0;
    ctx.RGBPicture = TAVPicture{};
    ctx.RGBPictureRef = nullptr;
}

void BitmapToRGBPicture(const TRGBConvertContext& ctx, int height) {
    if (!ctx.RGBPictureRef || !ctx.Bitmap) return;
    const TAVPicture& rgb = *ctx.RGBPictureRef;
    const size_t rowBytes = static_cast<size_t>(std::min(rgb.linesize[0], ctx.Bitmap->Stride()));
    for (int row = 0; row < height && row < ctx.Bitmap->Height(); ++row)
        std::memcpy(rgb.data[0] + static_cast<ptrdiff_t>(row) * rgb.linesize[0], ctx.Bitmap->ScanLine(row),
                    rowBytes);
}

std::unique_ptr<TFrameBitmap> NewFrameBitmap(int width, int height) {
    return std::make_unique<TFrameBitmap>(width, height);
}

bool PictureToBitmap(TRGBConvertContext& ctx, const TAVPicture& picture, AVPixelFormat pixFmt, int height,
                     int width) {
    if (width <= 0 || height <= 0 || !picture.data[0]) return false;
    if (!ctx.Bitmap) ctx.Bitmap = NewFrameBitmap(width, height);
    if (ctx.Bitmap->Width() != width || ctx.Bitmap->Height() != height) ctx.Bitmap->SetSize(width, height);

    if (pixFmt == ctx.RGBPixFmt && width % 2 == 0 && height % 2 == 0 &&
        picture.linesize[0] == TFrameBitmap::RowSize(width)) {
        ctx.RGBPictureRef = &picture;
    } else {
        // Every row starts aligned for the scaler's SIMD routines, which read and write it.
        int need = av::av_image_get_buffer_size(ctx.RGBPixFmt, width, height, kRowAlign);
        if (need <= 0) return false;
        if (!ctx.RGBBuf || ctx.RGBBufSize < need) {
            av::av_free(ctx.RGBBuf);
            // The scaler may write a little past the last line.
            ctx.RGBBuf = static_cast<uint8_t*>(av::av_malloc(static_cast<size_t>(need) + 64));
            ctx.RGBBufSize = ctx.RGBBuf ? need : 0;
            if (!ctx.RGBBuf) return false;
        }
        av::av_image_fill_arrays(ctx.RGBPicture.data, ctx.RGBPicture.linesize, ctx.RGBBuf, ctx.RGBPixFmt,
                                 width, height, kRowAlign);
        ctx.toRGB_convert_ctx =
            av::sws_getCachedContext(ctx.toRGB_convert_ctx, width, height, pixFmt, width, height,
                                     ctx.RGBPixFmt, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!ctx.toRGB_convert_ctx) return false;
        av::sws_scale(ctx.toRGB_convert_ctx, picture.data, picture.linesize, 0, height, ctx.RGBPicture.data,
                      ctx.RGBPicture.linesize);
        ctx.RGBPictureRef = &ctx.RGBPicture;
    }

    const TAVPicture& ref = *ctx.RGBPictureRef;
    size_t rowBytes = static_cast<size_t>(std::min(ref.linesize[0], ctx.Bitmap->Stride()));
    for (int row = 0; row < height; ++row)
        std::memcpy(ctx.Bitmap->ScanLine(row), ref.data[0] + static_cast<ptrdiff_t>(row) * ref.linesize[0],
                    rowBytes);
    return true;
}

} // namespace media

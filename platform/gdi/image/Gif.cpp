#include "gdi/image/Gif.h"

#include "gdi/image/Quantizer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace gdi::image {
namespace {

struct MemoryReader {
    std::span<const uint8_t> data;
    size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int len) {
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    size_t n = std::min(static_cast<size_t>(std::max(len, 0)), r->data.size() - r->pos);
    std::memcpy(buf, r->data.data() + r->pos, n);
    r->pos += n;
    return static_cast<int>(n);
}

int WriteToMemory(GifFileType* gif, const GifByteType* buf, int len) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), buf, buf + len);
    return len;
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const {
        int err = 0;
        DGifCloseFile(gif, &err);
    }
};
struct EncoderCloser {
    void operator()(GifFileType* gif) const {
        int err = 0;
        EGifCloseFile(gif, &err);
    }
};
struct MapFreer {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

std::string GifError(int code) {
    const char* s = GifErrorString(code);
    return std::string("GIF error: ") + (s ? s : "unknown");
}

// Reads extensions up to the first image descriptor, keeping the
// transparent colour of its graphic control block.
bool SeekFirstImage(GifFileType* gif, int& transparent, std::string& error) {
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            error = GifError(gif->Error);
            return false;
        }
        if (type == IMAGE_DESC_RECORD_TYPE) return true;
        if (type == TERMINATE_RECORD_TYPE) {
            error = "GIF file holds no picture";
            return false;
        }
        if (type != EXTENSION_RECORD_TYPE) continue;
        int code = 0;
        GifByteType* ext = nullptr;
        if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) {
            error = GifError(gif->Error);
            return false;
        }
        if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) {
            GraphicsControlBlock gcb;
            if (DGifExtensionToGCB(ext[0], ext + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
        }
        while (ext) {
            if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) {
                error = GifError(gif->Error);
                return false;
            }
        }
    }
}

} // namespace

bool ReadGif(std::span<const uint8_t> data, Image& out, std::string& error) {
    if (data.size() < 6 ||
        (std::memcmp(data.data(), "GIF87a", 6) != 0 && std::memcmp(data.data(), "GIF89a", 6) != 0)) {
        error = "not a GIF file";
        return false;
    }
    MemoryReader reader{data};
    int code = 0;
    std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&reader, ReadFromMemory, &code));
    if (!gif) {
        error = GifError(code);
        return false;
    }
    int transparent = NO_TRANSPARENT_COLOR;
    if (!SeekFirstImage(gif.get(), transparent, error)) return false;
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
        error = GifError(gif->Error);
        return false;
    }
    const GifImageDesc& frame = gif->Image;
    if (!CheckImageSize(frame.Width, frame.Height, error)) return false;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map || !map->Colors) {
        error = "GIF file has no colour table";
        return false;
    }
    // Some writers leave the logical screen at 0 x 0: the frame is the picture then.
    int64_t width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0)
        width = int64_t{frame.Left} + frame.Width, height = int64_t{frame.Top} + frame.Height;
    if (!CheckImageSize(width, height, error)) return false;

    Image img;
    img.Reset(static_cast<int>(width), static_cast<int>(height), 0);
    for (int i = 0; i < map->ColorCount; ++i)
        img.palette.push_back(MakeBgra(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue));
    std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
    // Interlaced rows come in four passes.
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    const int passes = frame.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = frame.Interlace ? kStart[pass] : 0, step = frame.Interlace ? kStep[pass] : 1;
        for (int row = start; row < frame.Height; row += step) {
            if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR) {
                error = GifError(gif->Error);
                return false;
            }
            const int64_t y = int64_t{frame.Top} + row;
            if (y >= height) continue;
            for (int x = 0; x < frame.Width; ++x) {
                const int64_t cx = int64_t{frame.Left} + x;
                if (cx >= width) break;
                const int idx = line[x];
                if (idx == transparent || idx >= map->ColorCount) continue;
                img.At(static_cast<int>(cx), static_cast<int>(y)) = img.palette[idx];
            }
        }
    }
    for (uint32_t px : img.pixels) img.hasAlpha |= (px >> 24) != 255;
    out = std::move(img);
    return true;
}

bool WriteGif(const Image& image, const GifWriteOptions& options, std::vector<uint8_t>& out,
              std::string& error) {
    if (!CheckImage(image, error)) return false;
    if (image.width > 0xFFFF || image.height > 0xFFFF) {
        error = "picture too large for a GIF file";
        return false;
    }
    const IndexedImage q = Quantize(image, 256, options.dither);
    int bits = 1;
    while ((1u << bits) < q.palette.size()) ++bits;
    std::vector<GifColorType> colours(size_t{1} << bits, GifColorType{0, 0, 0});
    for (size_t i = 0; i < q.palette.size(); ++i)
        colours[i] = {static_cast<GifByteType>(q.palette[i] >> 16),
                      static_cast<GifByteType>(q.palette[i] >> 8), static_cast<GifByteType>(q.palette[i])};
    std::unique_ptr<ColorMapObject, MapFreer> map(GifMakeMapObject(1 << bits, colours.data()));
    if (!map) {
        error = "out of memory";
        return false;
    }

    std::vector<uint8_t> bytes;
    int code = 0;
    std::unique_ptr<GifFileType, EncoderCloser> gif(EGifOpen(&bytes, WriteToMemory, &code));
    if (!gif) {
        error = GifError(code);
        return false;
    }
    EGifSetGifVersion(gif.get(), true);
    auto fail = [&] {
        error = GifError(gif->Error);
        return false;
    };
    if (EGifPutScreenDesc(gif.get(), image.width, image.height, bits, 0, map.get()) == GIF_ERROR)
        return fail();
    if (q.transparentIndex >= 0) {
        GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, q.transparentIndex};
        GifByteType ext[4];
        size_t len = EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(len), ext) == GIF_ERROR)
            return fail();
    }
    if (EGifPutImageDesc(gif.get(), 0, 0, image.width, image.height, false, nullptr) == GIF_ERROR)
        return fail();
    for (int y = 0; y < image.height; ++y) {
        auto* row = const_cast<GifPixelType*>(q.indices.data() + static_cast<size_t>(y) * image.width);
        if (EGifPutLine(gif.get(), row, image.width) == GIF_ERROR) return fail();
    }
    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &code) == GIF_ERROR) {
        error = GifError(code);
        return false;
    }
    out = std::move(bytes);
    return true;
}

} // namespace gdi::image

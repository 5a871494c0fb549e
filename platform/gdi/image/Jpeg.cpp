#include "gdi/image/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <jerror.h> // after jpeglib.h, which it needs

// libjpeg reports fatal errors by calling error_exit, which must not return.
// It jumps back with longjmp; every function below that holds a setjmp point
// keeps only plain C data alive across it, so no C++ object is skipped.  The
// libjpeg objects themselves are always destroyed by their owner's
// destructor, outside any jump.

namespace gdi::image {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool endedEarly;
};

void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
    // Level -1 is a warning about corrupt data; the one that matters is the
    // data running out, which libjpeg would paper over with grey.
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) err->endedEarly = true;
}

void SetUpErrors(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = 0;
    err.endedEarly = false;
}

struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager err;
    bool created = false;
    ~Decoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

bool StartDecoding(Decoder& d, const uint8_t* data, size_t size) {
    if (setjmp(d.err.jump)) return false;
    jpeg_create_decompress(&d.cinfo);
    d.created = true;
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.cinfo, TRUE);
    return true;
}

bool DecodeRows(Decoder& d, uint8_t* pixels, size_t stride) {
    if (setjmp(d.err.jump)) return false;
    d.cinfo.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&d.cinfo);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = pixels + stride * d.cinfo.output_scanline;
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

struct Encoder {
    jpeg_compress_struct cinfo{};
    ErrorManager err;
    bool created = false;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    ~Encoder() {
        if (created) jpeg_destroy_compress(&cinfo);
        std::free(buffer); // jpeg_mem_dest's buffer is ours to free, even after a failure
    }
};

bool Encode(Encoder& e, const uint8_t* pixels, int width, int height, int quality) {
    if (setjmp(e.err.jump)) return false;
    jpeg_create_compress(&e.cinfo);
    e.created = true;
    jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
    e.cinfo.image_width = static_cast<JDIMENSION>(width);
    e.cinfo.image_height = static_cast<JDIMENSION>(height);
    e.cinfo.input_components = 4;
    e.cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    if (quality >= 90) {
        // At high quality the colour is not halved either: snapshots of
        // captions and sharp coloured edges would bleed otherwise.
        for (int i = 0; i < e.cinfo.num_components; ++i)
            e.cinfo.comp_info[i].h_samp_factor = e.cinfo.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(pixels) + static_cast<size_t>(width) * 4 * e.cinfo.next_scanline;
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

} // namespace

bool ReadJpeg(std::span<const uint8_t> data, Image& out, std::string& error) {
    if (data.size() < 2 || data[0] != 0xFF || data[1] != 0xD8) {
        error = "not a JPEG file";
        return false;
    }
    Decoder d;
    d.cinfo.err = &d.err.pub;
    SetUpErrors(d.err);
    if (!StartDecoding(d, data.data(), data.size())) {
        error = std::string("JPEG error: ") + d.err.message;
        return false;
    }
    if (!CheckImageSize(d.cinfo.image_width, d.cinfo.image_height, error)) return false;
    const int cs = d.cinfo.jpeg_color_space;
    if (cs != JCS_GRAYSCALE && cs != JCS_YCbCr && cs != JCS_RGB) {
        error = "JPEG colour space not supported (CMYK?)";
        return false;
    }
    Image img;
    img.Reset(static_cast<int>(d.cinfo.image_width), static_cast<int>(d.cinfo.image_height));
    if (!DecodeRows(d, reinterpret_cast<uint8_t*>(img.pixels.data()), static_cast<size_t>(img.width) * 4)) {
        error = std::string("JPEG error: ") + d.err.message;
        return false;
    }
    if (d.err.endedEarly) {
        error = "truncated JPEG file";
        return false;
    }
    out = std::move(img);
    return true;
}

bool WriteJpeg(const Image& image, int quality, std::vector<uint8_t>& out, std::string& error) {
    if (!CheckImage(image, error)) return false;
    Encoder e;
    e.cinfo.err = &e.err.pub;
    SetUpErrors(e.err);
    if (!Encode(e, reinterpret_cast<const uint8_t*>(image.pixels.data()), image.width, image.height,
                std::clamp(quality, 1, 100))) {
        error = std::string("JPEG error: ") + e.err.message;
        return false;
    }
    out.assign(e.buffer, e.buffer + e.size);
    return true;
}

} // namespace gdi::image

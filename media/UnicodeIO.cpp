#include "media/UnicodeIO.h"

#include <cerrno>
#include <memory>

#include "media/AVApi.h"
#include "media/UnicodeProtocol.h"

namespace media {
namespace {

constexpr int kBufferSize = 32768;

int SystemError() {
    return errno > 0 ? AVERROR(errno) : AVERROR(EIO);
}

int IORead(void* opaque, uint8_t* buf, int size) {
    int n = UnicodeRead(*static_cast<TUnicodeFile*>(opaque), buf, size);
    if (n == 0) return AVERROR_EOF;
    return n < 0 ? SystemError() : n;
}

int IOWrite(void* opaque, uint8_t* buf, int size) {
    int n = UnicodeWrite(*static_cast<TUnicodeFile*>(opaque), buf, size);
    // A full disk says so, not just "I/O error".
    return n < 0 ? SystemError() : n;
}

int64_t IOSeek(void* opaque, int64_t offset, int whence) {
    int64_t r = UnicodeSeek(*static_cast<TUnicodeFile*>(opaque), offset, whence);
    return r < 0 ? AVERROR(EIO) : r;
}

bool IsOurs(const AVIOContext* pb) {
    return pb && (pb->read_packet == &IORead || pb->write_packet == &IOWrite);
}

// Opens the file and wraps it in an I/O context; the context owns the file
// and its buffer until FreeUnicodeIO.
int NewUnicodeIO(const char* libraryName, int flags, AVIOContext** pb) {
    *pb = nullptr;
    auto file = std::make_unique<TUnicodeFile>();
    int r = UnicodeOpen(*file, libraryName, flags);
    if (r < 0) return r;
    auto* buffer = static_cast<unsigned char*>(av::av_malloc(kBufferSize));
    bool writing = flags & AVIO_FLAG_WRITE;
    bool reading = !writing || (flags & AVIO_FLAG_READ);
    *pb = buffer ? av::avio_alloc_context(buffer, kBufferSize, writing ? 1 : 0, file.get(),
                                          reading ? &IORead : nullptr, writing ? &IOWrite : nullptr, &IOSeek)
                 : nullptr;
    if (!*pb) {
        av::av_free(buffer);
        UnicodeClose(*file);
        return AVERROR(ENOMEM);
    }
    file.release();
    return 0;
}

int FreeUnicodeIO(AVIOContext** pb) {
    auto* file = static_cast<TUnicodeFile*>((*pb)->opaque);
    int r = (*pb)->error;
    av::av_freep(&(*pb)->buffer);
    av::avio_context_free(pb);
    if (!UnicodeClose(*file) && r >= 0) r = AVERROR(EIO);
    delete file;
    return r;
}

} // namespace

int OpenInputByLibraryName(AVFormatContext** ps, const char* libraryName, const AVInputFormat* fmt,
                           AVDictionary** options) {
    if (!libraryName || !IsUnicodeName(libraryName))
        return av::avformat_open_input(ps, libraryName, fmt, options);
    // A caller's own context may come with its settings, but not with I/O of its own.
    if (*ps && (*ps)->pb) return AVERROR(EINVAL);
    AVIOContext* pb = nullptr;
    int r = NewUnicodeIO(libraryName, AVIO_FLAG_READ, &pb);
    if (r < 0) {
        // As the library does: a caller's context is freed on failure.
        if (*ps) av::avformat_free_context(*ps);
        *ps = nullptr;
        return r;
    }
    AVFormatContext* ctx = *ps ? *ps : av::avformat_alloc_context();
    if (!ctx) {
        FreeUnicodeIO(&pb);
        return AVERROR(ENOMEM);
    }
    ctx->pb = pb;
    ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
    // On failure the library frees the format context but leaves custom I/O to us.
    r = av::avformat_open_input(&ctx, libraryName, fmt, options);
    if (r < 0) {
        FreeUnicodeIO(&pb);
        *ps = nullptr;
        return r;
    }
    *ps = ctx;
    return 0;
}

void CloseInputByLibraryName(AVFormatContext** ps) {
    if (!ps || !*ps) return;
    AVIOContext* pb = ((*ps)->flags & AVFMT_FLAG_CUSTOM_IO) && IsOurs((*ps)->pb) ? (*ps)->pb : nullptr;
    av::avformat_close_input(ps);
    if (pb) FreeUnicodeIO(&pb);
}

int OpenOutputByLibraryName(AVIOContext** pb, const char* libraryName, int flags, AVDictionary** options) {
    if (!libraryName || !IsUnicodeName(libraryName))
        return av::avio_open2(pb, libraryName, flags, nullptr, options);
    return NewUnicodeIO(libraryName, flags, pb);
}

int CloseOutputByLibraryName(AVIOContext** pb) {
    if (!pb || !*pb) return 0;
    if (!IsOurs(*pb)) return av::avio_closep(pb);
    av::avio_flush(*pb);
    return FreeUnicodeIO(pb);
}

} // namespace media

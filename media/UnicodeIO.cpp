#include "media/UnicodeIO.h"

#include <cerrno>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/stat.h>

#include "media/AVApi.h"
#include "media/UnicodeProtocol.h"

namespace media {
namespace {

constexpr int kBufferSize = 32768;

int SystemError() {
    return errno > 0 ? AVERROR(errno) : AVERROR(EIO);
}

// A file served by the callbacks; reads wait for data in short steps, asking the interrupt
// (when one is set) between them, so that a source that stops delivering (a stalled pipe)
// cannot hold its reader for ever.
struct TIOFile {
    TUnicodeFile File;
    AVIOInterruptCB Interrupt{};
};

constexpr int kInterruptStepMs = 50;

int IORead(void* opaque, uint8_t* buf, int size) {
    auto* io = static_cast<TIOFile*>(opaque);
    while (io->Interrupt.callback) {
        if (io->Interrupt.callback(io->Interrupt.opaque)) return AVERROR_EXIT;
        pollfd p{io->File.Handle, POLLIN, 0};
        int r = ::poll(&p, 1, kInterruptStepMs);
        // Data, the end or an error: the read tells which.
        if (r > 0 || (r < 0 && errno != EINTR)) break;
    }
    int n = UnicodeRead(io->File, buf, size);
    if (n == 0) return AVERROR_EOF;
    return n < 0 ? SystemError() : n;
}

int IOWrite(void* opaque, uint8_t* buf, int size) {
    int n = UnicodeWrite(static_cast<TIOFile*>(opaque)->File, buf, size);
    // A full disk says so, not just "I/O error".
    return n < 0 ? SystemError() : n;
}

int64_t IOSeek(void* opaque, int64_t offset, int whence) {
    int64_t r = UnicodeSeek(static_cast<TIOFile*>(opaque)->File, offset, whence);
    return r < 0 ? AVERROR(EIO) : r;
}

bool IsOurs(const AVIOContext* pb) {
    return pb && (pb->read_packet == &IORead || pb->write_packet == &IOWrite);
}

// Opens the file at path and wraps it in an I/O context; the context owns the file and its
// buffer until FreeUnicodeIO.
int NewUnicodeIO(const std::string& path, int flags, AVIOContext** pb, const AVIOInterruptCB* interrupt) {
    *pb = nullptr;
    auto io = std::make_unique<TIOFile>();
    io->File.Handle = OpenUnicodeFile(path, flags);
    // The system's reason, so that "Permission denied" or "File name too long" reach the
    // user rather than a missing file.
    if (io->File.Handle < 0) return -errno;
    if (interrupt) io->Interrupt = *interrupt;
    auto* buffer = static_cast<unsigned char*>(av::av_malloc(kBufferSize));
    bool writing = flags & AVIO_FLAG_WRITE;
    bool reading = !writing || (flags & AVIO_FLAG_READ);
    *pb = buffer ? av::avio_alloc_context(buffer, kBufferSize, writing ? 1 : 0, io.get(),
                                          reading ? &IORead : nullptr, writing ? &IOWrite : nullptr, &IOSeek)
                 : nullptr;
    if (!*pb) {
        av::av_free(buffer);
        UnicodeClose(io->File);
        return AVERROR(ENOMEM);
    }
    // A pipe or a device reads on but cannot go back.
    struct stat st {};
    if (::fstat(io->File.Handle, &st) == 0 && !S_ISREG(st.st_mode)) (*pb)->seekable = 0;
    io.release();
    return 0;
}

// The file a name opens through the callbacks: a "unicode:utf8:" name always, a plain or
// "file:" name when reads must be interruptible; empty for any other protocol.
std::string CallbackPath(const char* libraryName, bool interruptible) {
    std::string name = libraryName ? libraryName : "";
    if (IsUnicodeName(name)) return DecodeUnicodeName(name);
    if (!interruptible || name.empty()) return {};
    if (name.rfind("file:", 0) == 0) return name.substr(5);
    size_t colon = name.find(':');
    return colon != std::string::npos && colon < name.find('/') ? std::string() : name;
}

int FreeUnicodeIO(AVIOContext** pb) {
    auto* io = static_cast<TIOFile*>((*pb)->opaque);
    int r = (*pb)->error;
    av::av_freep(&(*pb)->buffer);
    av::avio_context_free(pb);
    if (!UnicodeClose(io->File) && r >= 0) r = AVERROR(EIO);
    delete io;
    return r;
}

} // namespace

int OpenInputByLibraryName(AVFormatContext** ps, const char* libraryName, const AVInputFormat* fmt,
                           AVDictionary** options, const AVIOInterruptCB* interrupt) {
    const std::string path = CallbackPath(libraryName, interrupt && interrupt->callback);
    if (path.empty()) return av::avformat_open_input(ps, libraryName, fmt, options);
    // A caller's own context may come with its settings, but not with I/O of its own.
    if (*ps && (*ps)->pb) return AVERROR(EINVAL);
    AVIOContext* pb = nullptr;
    int r = NewUnicodeIO(path, AVIO_FLAG_READ, &pb, interrupt);
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
    return NewUnicodeIO(DecodeUnicodeName(libraryName), flags, pb, nullptr);
}

int CloseOutputByLibraryName(AVIOContext** pb) {
    if (!pb || !*pb) return 0;
    if (!IsOurs(*pb)) return av::avio_closep(pb);
    av::avio_flush(*pb);
    return FreeUnicodeIO(pb);
}

} // namespace media

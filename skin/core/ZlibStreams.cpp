#include "skin/core/ZlibStreams.h"

#include <zlib.h>

namespace skin {

struct TCustomZlibStream::State {
    z_stream z{};
};

namespace {

int CheckCompress(int code) {
    if (code < 0) throw ECompressionError("error");
    return code;
}

int CheckDecompress(int code) {
    if (code < 0) throw EDecompressionError("compression error");
    return code;
}

int Level(TCompressionLevel level) {
    switch (level) {
    case TCompressionLevel::clNone:
        return Z_NO_COMPRESSION;
    case TCompressionLevel::clFastest:
        return Z_BEST_SPEED;
    case TCompressionLevel::clDefault:
        return Z_DEFAULT_COMPRESSION;
    case TCompressionLevel::clMax:
        return Z_BEST_COMPRESSION;
    }
    return Z_DEFAULT_COMPRESSION;
}

} // namespace

TCustomZlibStream::TCustomZlibStream(gui::TStream& strm)
    : FStrm(strm), FStrmPos(strm.Position()), zs_(std::make_unique<State>()) {}

TCustomZlibStream::~TCustomZlibStream() = default;

void TCustomZlibStream::SyncPosition() {
    if (FStrm.Position() != FStrmPos) FStrm.SetPosition(FStrmPos);
}

// --- compression ---------------------------------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, gui::TStream& Dest)
    : TCustomZlibStream(Dest) {
    zs_->z.next_out = FBuffer;
    zs_->z.avail_out = sizeof FBuffer;
    CheckCompress(deflateInit(&zs_->z, Level(CompressionLevel)));
}

TCompressionStream::~TCompressionStream() {
    try {
        Finish();
    } catch (...) {
        // Destruction cannot report; a caller that must know calls Finish first.
    }
    deflateEnd(&zs_->z);
}

void TCompressionStream::Finish() {
    if (finished_) return;
    finished_ = true;
    zs_->z.next_in = nullptr;
    zs_->z.avail_in = 0;
    SyncPosition();
    while (CheckCompress(deflate(&zs_->z, Z_FINISH)) != Z_STREAM_END && zs_->z.avail_out == 0) {
        FStrm.WriteBuffer(FBuffer, sizeof FBuffer);
        zs_->z.next_out = FBuffer;
        zs_->z.avail_out = sizeof FBuffer;
    }
    if (zs_->z.avail_out < sizeof FBuffer) FStrm.WriteBuffer(FBuffer, sizeof FBuffer - zs_->z.avail_out);
    FStrmPos = FStrm.Position();
}

int64_t TCompressionStream::Write(const void* buffer, int64_t count) {
    if (finished_) throw ECompressionError("Invalid stream operation");
    zs_->z.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
    int64_t left = count;
    SyncPosition();
    while (left > 0 || zs_->z.avail_in > 0) {
        if (zs_->z.avail_in == 0) {
            uInt chunk = static_cast<uInt>(std::min<int64_t>(left, 1 << 30));
            zs_->z.avail_in = chunk;
            left -= chunk;
        }
        CheckCompress(deflate(&zs_->z, Z_NO_FLUSH));
        if (zs_->z.avail_out == 0) {
            FStrm.WriteBuffer(FBuffer, sizeof FBuffer);
            zs_->z.next_out = FBuffer;
            zs_->z.avail_out = sizeof FBuffer;
            FStrmPos = FStrm.Position();
            Progress();
        }
    }
    return count;
}

int64_t TCompressionStream::Seek(int64_t offset, gui::TSeekOrigin origin) {
    if (offset == 0 && origin == gui::TSeekOrigin::soCurrent) return static_cast<int64_t>(zs_->z.total_in);
    throw ECompressionError("Invalid stream operation");
}

double TCompressionStream::CompressionRate() const {
    if (zs_->z.total_in == 0) return 0;
    return (1.0 - static_cast<double>(zs_->z.total_out) / static_cast<double>(zs_->z.total_in)) * 100.0;
}

// --- decompression -------------------------------------------------------------------------

TDecompressionStream::TDecompressionStream(gui::TStream& Source) : TCustomZlibStream(Source) {
    zs_->z.next_in = FBuffer;
    zs_->z.avail_in = 0;
    CheckDecompress(inflateInit(&zs_->z));
}

TDecompressionStream::~TDecompressionStream() {
    inflateEnd(&zs_->z);
}

int64_t TDecompressionStream::Read(void* buffer, int64_t count) {
    zs_->z.next_out = static_cast<Bytef*>(buffer);
    int64_t left = count;
    // Data after the end of the zlib stream is not ours: stop there instead of waiting.
    while (left > 0 && !ended_) {
        if (zs_->z.avail_in == 0) {
            SyncPosition();
            int64_t n = FStrm.Read(FBuffer, sizeof FBuffer);
            if (n <= 0) break;
            zs_->z.next_in = FBuffer;
            zs_->z.avail_in = static_cast<uInt>(n);
            FStrmPos = FStrm.Position();
            Progress();
        }
        uInt chunk = static_cast<uInt>(std::min<int64_t>(left, 1 << 30));
        zs_->z.avail_out = chunk;
        int code = inflate(&zs_->z, Z_NO_FLUSH);
        if (code == Z_NEED_DICT || code == Z_DATA_ERROR || code == Z_MEM_ERROR || code == Z_STREAM_ERROR)
            throw EDecompressionError("compression error");
        left -= chunk - zs_->z.avail_out;
        if (code == Z_STREAM_END) ended_ = true;
        if (code == Z_BUF_ERROR && zs_->z.avail_in > 0) throw EDecompressionError("compression error");
    }
    return count - left;
}

void TDecompressionStream::Restart() {
    CheckDecompress(inflateReset(&zs_->z));
    zs_->z.next_in = FBuffer;
    zs_->z.avail_in = 0;
    ended_ = false;
    FStrm.SetPosition(0);
    FStrmPos = 0;
}

int64_t TDecompressionStream::Seek(int64_t offset, gui::TSeekOrigin origin) {
    int64_t produced = static_cast<int64_t>(zs_->z.total_out);
    int64_t skip;
    if (offset == 0 && origin == gui::TSeekOrigin::soBeginning) {
        Restart();
        return 0;
    } else if (origin == gui::TSeekOrigin::soCurrent && offset >= 0) {
        skip = offset;
    } else if (origin == gui::TSeekOrigin::soBeginning && offset > produced) {
        skip = offset - produced;
    } else {
        throw EDecompressionError("Invalid stream operation");
    }
    unsigned char drop[8192];
    while (skip > 0) {
        int64_t n = Read(drop, std::min<int64_t>(skip, sizeof drop));
        if (n <= 0) break;
        skip -= n;
    }
    return static_cast<int64_t>(zs_->z.total_out);
}

// --- skin streams --------------------------------------------------------------------------

void CompressSkinStream(gui::TMemoryStream& Source, gui::TStream& Dest) {
    TCompressionStream z(TCompressionLevel::clMax, Dest);
    if (Source.Size() > 0) z.WriteBuffer(Source.Memory(), Source.Size());
    z.Finish();
}

void DecompressSkinStream(gui::TStream& Dest, gui::TMemoryStream& Compressed) {
    Compressed.SetPosition(0);
    TDecompressionStream z(Compressed);
    unsigned char buffer[4096];
    int64_t total = 0;
    for (;;) {
        int64_t n = z.Read(buffer, sizeof buffer);
        if (n <= 0) break;
        total += n;
        if (total > kMaxSkinDataSize) throw EDecompressionError("compression error");
        Dest.WriteBuffer(buffer, n);
    }
    // A stream cut short inflates without complaint up to the cut; what it gave is not a skin.
    if (!z.Finished()) throw EDecompressionError("compression error");
}

} // namespace skin

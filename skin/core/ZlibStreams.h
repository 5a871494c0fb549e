#pragma once
// zlib streams over the class library's streams: a write-only compressing stream and a
// read-only decompressing one, each with an 8192-byte buffer.
#include "gui/MemoryStream.h"

#include <functional>
#include <memory>
#include <stdexcept>

namespace skin {

class EZlibError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};
class EDecompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCustomZlibStream;
// The class library's streams are no objects, so the sender is the stream itself.
using TZlibProgressEvent = std::function<void(TCustomZlibStream* sender)>;

class TCustomZlibStream : public gui::TStream {
public:
    ~TCustomZlibStream() override;
    TZlibProgressEvent OnProgress;
    void SetSize(int64_t) override { throw gui::EStreamError("Invalid stream operation"); }

protected:
    explicit TCustomZlibStream(gui::TStream& strm);
    void Progress() {
        if (OnProgress) OnProgress(this);
    }
    // Puts the underlying stream back where the last transfer left it.
    void SyncPosition();

    struct State;
    gui::TStream& FStrm;
    int64_t FStrmPos;
    std::unique_ptr<State> zs_;
    unsigned char FBuffer[8192];
};

class TCompressionStream : public TCustomZlibStream {
public:
    TCompressionStream(TCompressionLevel CompressionLevel, gui::TStream& Dest);
    // Finishes the zlib stream into Dest; the stream ends even when writing fails.
    ~TCompressionStream() override;
    int64_t Read(void*, int64_t) override { throw ECompressionError("Invalid stream operation"); }
    int64_t Write(const void* buffer, int64_t count) override;
    // Only Seek(0, soCurrent): the bytes taken in so far.
    int64_t Seek(int64_t offset, gui::TSeekOrigin origin) override;
    // Percent saved; 0 before any input.
    double CompressionRate() const;
    // Ends the zlib stream now (the destructor does it otherwise); ECompressionError or the
    // destination's write error on failure.
    void Finish();

private:
    bool finished_ = false;
};

class TDecompressionStream : public TCustomZlibStream {
public:
    explicit TDecompressionStream(gui::TStream& Source);
    ~TDecompressionStream() override;
    // Returns early with what it has when the zlib stream or the source ends.
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void*, int64_t) override { throw EDecompressionError("Invalid stream operation"); }
    // Back to the start, or forward by reading; returns the bytes produced so far.
    int64_t Seek(int64_t offset, gui::TSeekOrigin origin) override;
    // The zlib stream was read to its end (its checksum included).
    bool Finished() const { return ended_; }

private:
    void Restart();
    bool ended_ = false;
};

// Deflates the whole source, from its start, into Dest at the highest level.
void CompressSkinStream(gui::TMemoryStream& Source, gui::TStream& Dest);
// Inflates the compressed stream, from its start, into Dest.  Raises EDecompressionError
// "compression error" for damaged or truncated data and when the result would exceed
// kMaxSkinDataSize.
void DecompressSkinStream(gui::TStream& Dest, gui::TMemoryStream& Compressed);

// No skin comes near this; it keeps a damaged or hostile stream from taking all memory.
inline constexpr int64_t kMaxSkinDataSize = int64_t{256} << 20;

} // namespace skin

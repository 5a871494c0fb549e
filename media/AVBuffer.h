#pragma once
// A byte buffer from the libraries' own allocator: aligned as their SIMD
// routines (transforms, scalers, sample converters) need for what they read
// and write.  Move-only; its contents are undefined after Resize.
#include <cstddef>
#include <cstdint>

namespace media {

class TAVBuffer {
public:
    TAVBuffer() = default;
    explicit TAVBuffer(size_t bytes) { Resize(bytes); }
    ~TAVBuffer();
    TAVBuffer(TAVBuffer&& other) noexcept;
    TAVBuffer& operator=(TAVBuffer&& other) noexcept;
    TAVBuffer(const TAVBuffer&) = delete;
    TAVBuffer& operator=(const TAVBuffer&) = delete;

    // Zero-filled, at least bytes long; false (and empty) when out of memory.
    bool Resize(size_t bytes);
    // Grows to at least bytes keeping nothing; no change when already large enough.
    bool Reserve(size_t bytes) { return bytes <= size_ || Resize(bytes); }
    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    template <class T> T* As() const { return reinterpret_cast<T*>(data_); }

private:
    void Free();
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

} // namespace media

#include "media/AVBuffer.h"

#include <cstdlib>
#include <utility>

#include "media/AVApi.h"

namespace media {

TAVBuffer::~TAVBuffer() {
    Free();
}

TAVBuffer::TAVBuffer(TAVBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

TAVBuffer& TAVBuffer::operator=(TAVBuffer&& other) noexcept {
    if (this != &other) {
        Free();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

void TAVBuffer::Free() {
    // A buffer may outlive the loaded libraries (an engine keeps its work buffers); their
    // allocator takes its memory from posix_memalign here, which free() gives back.
    if (data_) {
        if (av::av_free)
            av::av_free(data_);
        else
            std::free(data_);
    }
    data_ = nullptr;
    size_ = 0;
}

bool TAVBuffer::Resize(size_t bytes) {
    Free();
    if (bytes == 0) return true;
    // Some routines read a little past the end of what they were given.
    data_ = static_cast<uint8_t*>(av::av_mallocz(bytes + AV_INPUT_BUFFER_PADDING_SIZE));
    size_ = data_ ? bytes : 0;
    return data_ != nullptr;
}

} // namespace media

#pragma once
// The common base of the media components and the seek flags they share.
#include <initializer_list>
#include <string>

#include "os/Component.h"

namespace media {

// Identifies a class as one of the media components (logger, probe, player,
// task component); it adds nothing to the shared component class.
class TFFBaseComponent : public os::TComponent {
public:
    using os::TComponent::TComponent;
    std::string ClassName() const override { return "TFFBaseComponent"; }
};

enum TSeekFlag { sfBackward, sfByte, sfAny, sfFrame };

// A set of seek flags; its bits equal the libraries' seek flags
// (backward 1, byte 2, any 4, frame 8).
class TSeekFlags {
public:
    constexpr TSeekFlags() = default;
    constexpr TSeekFlags(std::initializer_list<TSeekFlag> flags) {
        for (TSeekFlag f : flags) bits_ |= 1 << f;
    }
    constexpr bool Has(TSeekFlag f) const { return bits_ & (1 << f); }
    constexpr TSeekFlags& operator+=(TSeekFlag f) {
        bits_ |= 1 << f;
        return *this;
    }
    constexpr TSeekFlags& operator-=(TSeekFlag f) {
        bits_ &= ~(1 << f);
        return *this;
    }
    constexpr int Bits() const { return bits_; }
    constexpr bool operator==(const TSeekFlags&) const = default;

private:
    int bits_ = 0;
};

constexpr int SeekFlagsToAV(TSeekFlags flags) {
    return flags.Bits();
}

} // namespace media

#pragma once
// Small shared types of the media components.
#include <cstdint>
#include <initializer_list>

namespace media {

// The libraries, in the order in which sets are loaded and unloaded.
// swResample belongs to the set because FFmpeg 5.1 converts audio there, no longer in avCodec.
enum class TLibrary { avCodec, avDevice, avFilter, avFormat, avUtil, swScale, swResample, myUtil, lbSDL };
constexpr int LibraryCount = 9;

// A set of libraries as bits of TLibrary.
class TLibraries {
public:
    constexpr TLibraries() = default;
    constexpr TLibraries(std::initializer_list<TLibrary> libs) {
        for (TLibrary l : libs) bits_ |= Bit(l);
    }
    constexpr bool Has(TLibrary l) const { return bits_ & Bit(l); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TLibraries& operator+=(TLibrary l) {
        bits_ |= Bit(l);
        return *this;
    }
    constexpr bool operator==(const TLibraries&) const = default;

private:
    static constexpr uint32_t Bit(TLibrary l) { return 1u << static_cast<int>(l); }
    uint32_t bits_ = 0;
};

// The sets the components load.
inline constexpr TLibraries ConverterLibraries{TLibrary::avCodec, TLibrary::avFilter, TLibrary::avFormat,
                                               TLibrary::avUtil,  TLibrary::swScale,  TLibrary::swResample,
                                               TLibrary::myUtil};
inline constexpr TLibraries ProbeLibraries{TLibrary::avCodec, TLibrary::avFormat,   TLibrary::avUtil,
                                           TLibrary::swScale, TLibrary::swResample, TLibrary::myUtil};
inline constexpr TLibraries PlayerLibraries{TLibrary::avCodec, TLibrary::avFilter, TLibrary::avFormat,
                                            TLibrary::avUtil,  TLibrary::swScale,  TLibrary::swResample,
                                            TLibrary::myUtil,  TLibrary::lbSDL};

// Times are 64-bit microseconds; this value means "no time stamp".
constexpr int64_t NoTime = INT64_MIN;

} // namespace media

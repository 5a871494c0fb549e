#pragma once
#include "gui/Classes.h"
#include "gui/Fwd.h"
#include "gui/Geometry.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace gdi::image {
struct Image;
}

namespace gui {

// What every picture class offers: size, drawing on a canvas, streams and files.
class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);
    // Raises EInvalidGraphic for data it cannot read.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    virtual void Draw(TCanvas& canvas, const TRect& r) = 0;
    // The rest of the stream.
    static std::vector<uint8_t> ReadRest(TStream& stream);
    // One picture file of any kind we read (or BMP only); EInvalidGraphic(invalid) for anything else.
    static void Decode(std::span<const uint8_t> data, gdi::image::Image& out, const std::string& invalid,
                       bool bmpOnly = false);
    virtual void Changed();
    bool transparent_ = false;
};

class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace gui

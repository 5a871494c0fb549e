#pragma once
#include "gui/Graphic.h"

#include <string>

namespace gui {

// An icon: a colour picture with a transparency mask, drawn at any size.  Icons load from
// any picture file the picture classes read (PNG keeps its alpha), from a resource, or adopt
// an icon handle.
class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    std::string ClassName() const override { return "TIcon"; }
    void Assign(const TPersistent* source) override;

    int Width() const override;
    int Height() const override;
    // An icon's size is its picture's: EInvalidGraphic ("Cannot change the size of an icon").
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    bool Transparent() const override { return true; }

    HICON Handle() const { return icon_; }
    // The icon owns the handle from here on.
    void SetHandle(HICON icon);
    // The handle is the caller's from here on.
    HICON ReleaseHandle();

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void LoadFromResourceName(const std::string& name);
    // A 32-bit picture with alpha (or a key colour of other pictures' bottom-left pixel).
    void FromBitmap(TBitmap& bitmap);

protected:
    void Draw(TCanvas& canvas, const TRect& r) override;

private:
    void FromImage(const gdi::image::Image& image);
    HICON icon_ = nullptr;
};

} // namespace gui

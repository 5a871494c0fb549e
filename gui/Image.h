#pragma once
// A windowless picture: drawn at its own size from the top-left corner, centred, or stretched
// over the whole control; transparent pictures leave their transparent colour out.
#include "gui/GraphicControl.h"
#include "gui/Picture.h"

#include <memory>
#include <string>

namespace gui {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    std::string ClassName() const override { return "TImage"; }
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture* picture) { picture_->Assign(picture); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    // Where the picture goes in the client area.
    TRect DestRect();

protected:
    void Paint() override;
    bool CanAutoSize(int& width, int& height) override;

private:
    void PictureChanged();
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false, center_ = false, transparent_ = false;
};

} // namespace gui

#include "gui/Image.h"

namespace gui {

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
    TControl::SetBounds(Left(), Top(), 105, 105);
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() {
    picture_->OnChange = nullptr;
}

void TImage::PictureChanged() {
    if (TGraphic* g = picture_->Graphic()) g->SetTransparent(transparent_);
    if (AutoSize()) AdjustSize();
    Invalidate();
}

void TImage::SetStretch(bool value) {
    if (stretch_ == value) return;
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    if (center_ == value) return;
    center_ = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    PictureChanged();
}

bool TImage::CanAutoSize(int& width, int& height) {
    if (picture_->Width() <= 0 || picture_->Height() <= 0) return false;
    width = picture_->Width();
    height = picture_->Height();
    return true;
}

TRect TImage::DestRect() {
    int cw = ClientWidth(), ch = ClientHeight();
    if (stretch_) return {0, 0, cw, ch};
    int w = picture_->Width(), h = picture_->Height();
    if (center_) return Bounds((cw - w) / 2, (ch - h) / 2, w, h);
    return {0, 0, w, h};
}

void TImage::Paint() {
    if (TGraphic* g = picture_->Graphic(); g && !g->Empty()) Canvas()->StretchDraw(DestRect(), g);
}

} // namespace gui

#include "gui/Picture.h"

#include "gui/Icon.h"
#include "gui/SysUtils.h"

#include <algorithm>

namespace gui {

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this](TObject*) {
            if (OnChange) OnChange(this);
        };
    if (OnChange) OnChange(this);
}

namespace {
std::unique_ptr<TGraphic> NewLike(const TGraphic* g) {
    if (dynamic_cast<const TJPEGImage*>(g)) return std::make_unique<TJPEGImage>();
    if (dynamic_cast<const TPngImage*>(g)) return std::make_unique<TPngImage>();
    if (dynamic_cast<const TGIFImage*>(g)) return std::make_unique<TGIFImage>();
    if (dynamic_cast<const TIcon*>(g)) return std::make_unique<TIcon>();
    return std::make_unique<TBitmap>();
}

std::unique_ptr<TGraphic> NewForExtension(const std::string& fileName) {
    std::string ext = LowerCase(ExtractFileExt(fileName));
    if (ext == ".bmp") return std::make_unique<TBitmap>();
    if (ext == ".jpg" || ext == ".jpeg") return std::make_unique<TJPEGImage>();
    if (ext == ".png") return std::make_unique<TPngImage>();
    if (ext == ".gif") return std::make_unique<TGIFImage>();
    if (ext == ".ico") return std::make_unique<TIcon>();
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
}
} // namespace

void TPicture::SetGraphic(const TGraphic* graphic) {
    if (!graphic) return Take(nullptr);
    std::unique_ptr<TGraphic> copy = NewLike(graphic);
    copy->Assign(graphic);
    Take(std::move(copy));
}

void TPicture::Assign(const TPersistent* source) {
    if (source == this) return;
    if (!source) return SetGraphic(nullptr);
    if (auto* p = dynamic_cast<const TPicture*>(source)) return SetGraphic(p->graphic_.get());
    if (auto* g = dynamic_cast<const TGraphic*>(source)) return SetGraphic(g);
    TPersistent::Assign(source);
}

TBitmap* TPicture::Bitmap() {
    if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return b;
    auto b = std::make_unique<TBitmap>();
    if (graphic_) b->Assign(graphic_.get());
    TBitmap* raw = b.get();
    Take(std::move(b));
    return raw;
}

void TPicture::LoadFromFile(const std::string& fileName) {
    std::unique_ptr<TGraphic> g = NewForExtension(fileName);
    g->LoadFromFile(fileName);
    Take(std::move(g));
}

void TPicture::SaveToFile(const std::string& fileName) {
    if (graphic_) graphic_->SaveToFile(fileName);
}

} // namespace gui

#include "gui/ImgList.h"

#include "gdi/Icon.h"
#include "gui/Bitmap.h"
#include "gui/Canvas.h"
#include "gui/Icon.h"

#include <stdexcept>

namespace gui {

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {
    Make();
}

TCustomImageList::~TCustomImageList() {
    if (list_) ImageList_Destroy(list_);
}

void TCustomImageList::Make() {
    if (list_) ImageList_Destroy(list_);
    list_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
    if (!list_) throw EInvalidGraphic("Invalid image size");
}

void TCustomImageList::Change() {
    if (OnChange) OnChange(this);
}

void TCustomImageList::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    if (width <= 0 || height <= 0) throw EInvalidGraphic("Invalid image size");
    width_ = width, height_ = height;
    Make();
    Change();
}

int TCustomImageList::Count() const {
    return ImageList_GetImageCount(list_);
}

TColor TCustomImageList::BkColor() const {
    COLORREF c = ImageList_GetBkColor(list_);
    return c == CLR_NONE ? clNone : static_cast<TColor>(c);
}

void TCustomImageList::SetBkColor(TColor color) {
    ImageList_SetBkColor(list_, color == clNone ? CLR_NONE : ColorToRGB(color));
    Change();
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty()) return -1;
    int i = ImageList_Add(list_, image->Handle(), mask ? mask->Handle() : nullptr);
    Change();
    return i;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) return -1;
    COLORREF key = ColorToRGB(maskColor == clDefault ? image->TransparentColor() : maskColor);
    int i = ImageList_AddMasked(list_, image->Handle(), key);
    Change();
    return i;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon || !icon->Handle()) return -1;
    int i = ImageList_AddIcon(list_, icon->Handle());
    Change();
    return i;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    if (index < 0 || index >= Count()) throw std::out_of_range("Invalid ImageList Index");
    ImageList_Replace(list_, index, image ? image->Handle() : nullptr, mask ? mask->Handle() : nullptr);
    Change();
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("Invalid ImageList Index");
    ImageList_Remove(list_, index);
    Change();
}

void TCustomImageList::Clear() {
    ImageList_RemoveAll(list_);
    Change();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    if (!canvas || index < 0 || index >= Count()) return;
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = list_;
    p.i = index;
    p.hdcDst = canvas->Handle();
    p.x = x, p.y = y;
    p.rgbBk = CLR_DEFAULT;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_NORMAL;
    p.fState = enabled ? ILS_NORMAL : ILS_SATURATE;
    ImageList_DrawIndirect(&p);
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) {
    if (!image || index < 0 || index >= Count()) return false;
    image->SetSize(width_, height_);
    image->Canvas()->Brush()->SetColor(clBtnFace);
    image->Canvas()->FillRect(Rect(0, 0, width_, height_));
    ImageList_Draw(list_, index, image->Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
    return true;
}

bool TCustomImageList::GetIcon(int index, TIcon* icon) {
    if (!icon || index < 0 || index >= Count()) return false;
    icon->SetHandle(ImageList_GetIcon(list_, index, ILD_NORMAL));
    return icon->Handle() != nullptr;
}

} // namespace gui

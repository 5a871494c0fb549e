// The skinned form's client background (the frame picture's client part, a background picture
// of the skin, stretched or repeated, or the plain face colour), the logo in its middle, the
// inactive look of the frame parts, the form's small icon and the fonts of the default look.
#include "gdi/Blit.h"
#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Icon.h"
#include "gdi/Objects.h"
#include "gui/Application.h"
#include "gui/Canvas.h"
#include "gui/Color.h"
#include "gui/Icon.h"
#include "skin/controls/SkinControl.h"
#include "skin/engine/EffectBmp.h"
#include "skin/forms/SkinForm.h"
#include "win/Message.h"
#include "win/System.h"

#include <algorithm>

namespace skin {

namespace {

void FillClient(HDC dc, const gui::TRect& r, gui::TColor color) {
    if (gui::RectWidth(r) <= 0 || gui::RectHeight(r) <= 0) return;
    RECT rc{r.left, r.top, r.right, r.bottom};
    HBRUSH brush = CreateSolidBrush(gui::ColorToRGB(color));
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

// A picture of the skin's list, or null for an index that names none.
const TbsPicture* ActivePicture(const TbsSkinData& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.FActivePictures.size())) return nullptr;
    const TbsPicture* p = s.FActivePictures[static_cast<size_t>(index)].get();
    return p && !p->Empty() ? p : nullptr;
}

} // namespace

// ---- the fonts and the logo

void TbsSkinForm::SetDefCaptionFont(const gui::TFont* value) {
    defCaptionFont_.Assign(value);
    if (!skinSupport_ && !Loading() && !Designing()) RepaintFrame();
}

void TbsSkinForm::SetDefInActiveCaptionFont(const gui::TFont* value) {
    defInActiveCaptionFont_.Assign(value);
    if (!skinSupport_ && !Loading() && !Designing()) RepaintFrame();
}

void TbsSkinForm::SetLogoBitMap(const gui::TBitmap* value) {
    if (value)
        logo_.Assign(value);
    else
        logo_.SetSize(0, 0);
    if (Wnd()) form_->Invalidate();
}

// ---- the client background

void TbsSkinForm::EraseBackground(HDC dc) {
    // An MDI form's work space is its client window's to paint, but for the picture the
    // inactive overlay takes of it.
    if (form_->FormStyle() == gui::fsMDIForm && !FClientInActiveDraw) return;
    if (!skinSupport_)
        PaintBGDefault(dc);
    else if (useRibbon_ && fsd_->MDIBGPictureIndex != -1)
        PaintBG3(dc);
    else if (fsd_->BGPictureIndex == -1)
        PaintBG(dc);
    else
        PaintBG2(dc);
}

// The picture covers the client area, not the frame: stretched to the frame's size its right
// and bottom parts would fall under the border.
void TbsSkinForm::PaintBGPicture(HDC dc, HDC src, const TRect& part, bool stretch, TbsStretchType type) {
    gui::TRect client = form_->ClientRect();
    int cw = gui::RectWidth(client), ch = gui::RectHeight(client);
    int tw = part.Width(), th = part.Height();
    if (cw > 0 && ch > 0 && tw > 0 && th > 0) {
        if (!stretch) {
            for (int y = 0; y < ch; y += th)
                for (int x = 0; x < cw; x += tw) BitBlt(dc, x, y, tw, th, src, part.Left, part.Top, SRCCOPY);
        } else if (type == TbsStretchType::bsstHorz) {
            // A strip as high as the client, repeated across it.
            for (int x = 0; x < cw; x += tw)
                StretchBlt(dc, x, 0, tw, ch, src, part.Left, part.Top, tw, th, SRCCOPY);
        } else if (type == TbsStretchType::bsstVert) {
            for (int y = 0; y < ch; y += th)
                StretchBlt(dc, 0, y, cw, th, src, part.Left, part.Top, tw, th, SRCCOPY);
        } else {
            StretchBlt(dc, 0, 0, cw, ch, src, part.Left, part.Top, tw, th, SRCCOPY);
        }
    }
    DrawLogoOn(dc);
}

void TbsSkinForm::PaintBG(HDC dc) {
    if (!dc || !skinSupport_) return;
    const TbsSkinData& s = *fsd_;
    if (s.ClRect.Width() <= 0 || s.ClRect.Height() <= 0) {
        FillClient(dc, form_->ClientRect(), gui::clBtnFace);
        return;
    }
    PaintBGPicture(dc, s.FPicture.Bitmap().Canvas()->Handle(), s.ClRect, s.StretchEffect, s.StretchType);
}

void TbsSkinForm::PaintBG2(HDC dc) {
    if (dc && skinSupport_) PaintBGFromList(dc, fsd_->BGPictureIndex, fsd_->StretchEffect, fsd_->StretchType);
}

void TbsSkinForm::PaintBG3(HDC dc) {
    if (dc && skinSupport_)
        PaintBGFromList(dc, fsd_->MDIBGPictureIndex, fsd_->MDIBGStretchEffect, fsd_->MDIBGStretchType);
}

void TbsSkinForm::PaintBGFromList(HDC dc, int index, bool stretch, TbsStretchType type) {
    const TbsPicture* p = ActivePicture(*fsd_, index);
    // An index past the skin's pictures names none: the frame picture's client part instead.
    if (!p) return PaintBG(dc);
    PaintBGPicture(dc, p->Bitmap().Canvas()->Handle(), {0, 0, p->Width(), p->Height()}, stretch, type);
}

void TbsSkinForm::PaintBGDefault(HDC dc) {
    FillWithLogo(dc, gui::clBtnFace);
}

void TbsSkinForm::PaintMDIBGDefault(HDC dc) {
    FillWithLogo(dc, gui::clAppWorkSpace);
}

void TbsSkinForm::FillWithLogo(HDC dc, gui::TColor color) {
    if (!dc) return;
    FillClient(dc, form_->ClientRect(), color);
    DrawLogoOn(dc);
}

void TbsSkinForm::DrawLogoOn(HDC dc) {
    if (logo_.Empty()) return;
    gui::TCanvas canvas;
    canvas.SetHandle(dc);
    DrawLogo(&canvas);
    canvas.SetHandle(nullptr);
}

void TbsSkinForm::DrawLogo(gui::TCanvas* canvas) {
    if (!canvas || logo_.Empty()) return;
    gui::TRect client = form_->ClientRect();
    // Larger than the client, the logo starts at its corner.
    int x = std::max(0, gui::RectWidth(client) / 2 - logo_.Width() / 2);
    int y = std::max(0, gui::RectHeight(client) / 2 - logo_.Height() / 2);
    if (logo_.Transparent() != LogoBitMapTransparent) logo_.SetTransparent(LogoBitMapTransparent);
    canvas->Draw(x, y, &logo_);
}

void TbsSkinForm::NotifyChildrenBackground() {
    // A form going away has nothing left to show; its controls are not to be made again.
    if (form_->Destroying()) return;
    for (int i = 0; i < form_->ControlCount(); ++i) {
        auto* w = dynamic_cast<gui::TWinControl*>(form_->Controls(i));
        if (w && w->HandleAllocated() && !w->Destroying()) SendMessage(w->Handle(), WM_CHECKPARENTBG, 0, 0);
    }
}

// ---- the frame of an inactive form

void TbsSkinForm::PutFramePart(HDC dc, gui::TBitmap& part, int x, int y, bool effect) {
    if (part.Width() <= 0 || part.Height() <= 0) return;
    if (effect && skinSupport_) {
        std::unique_ptr<TbsEffectBmp> e = TbsEffectBmp::CreateFromhWnd(part.Handle());
        e->InActiveEffect(fsd_->InActiveEffect);
        e->Draw(dc, x, y);
        return;
    }
    BitBlt(dc, x, y, part.Width(), part.Height(), part.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---- the small icon

void TbsSkinForm::GetSmallIconSize(int& w, int& h) const {
    w = GetSystemMetrics(SM_CXSMICON);
    if (w == 0) w = GetSystemMetrics(SM_CXSIZE);
    h = GetSystemMetrics(SM_CYSMICON);
    if (h == 0) h = GetSystemMetrics(SM_CYSIZE);
}

void TbsSkinForm::PrepareFormIcon() {
    if (icon_) return;
    icon_ = std::make_unique<gui::TIcon>();
    HICON source = nullptr;
    bool stock = false;
    if (gui::TIcon* i = form_->Icon(); i && i->Handle())
        source = i->Handle();
    else if (gui::TIcon* a = gui::Application->Icon(); a && a->Handle())
        source = a->Handle();
    else {
        source = LoadIcon(nullptr, IDI_APPLICATION);
        stock = true;
    }
    if (!source) return;
    int w = 0, h = 0;
    GetSmallIconSize(w, h);
    icon_->SetHandle(static_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, 0)));
    if (stock) DestroyIcon(source);
}

void TbsSkinForm::DrawFormIcon(gui::TCanvas* canvas, int x, int y) {
    PrepareFormIcon();
    if (!icon_->Empty()) canvas->Draw(x, y, icon_.get());
}

} // namespace skin

#include "skin/forms/FormLayerBorder.h"

#include "gui/Application.h"
#include "gui/Bitmap.h"
#include "os/Clock.h"
#include "skin/engine/LayerManager.h"
#include "skin/engine/SkinRect.h"
#include "skin/forms/SkinForm.h"
#include "win/Input.h"
#include "win/Styles.h"
#include "win/WindowPos.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace skin {

namespace {

gui::TBitmap* PictureOf(TbsSkinData* sd, int index) {
    if (!sd || index < 0 || index >= static_cast<int>(sd->FActivePictures.size())) return nullptr;
    return &sd->FActivePictures[static_cast<size_t>(index)]->Bitmap();
}

bool Blank(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

// Rectangles hold their left and top edges, not their right and bottom ones.
bool In(TPoint p, int l, int t, int r, int b) {
    return p.X >= l && p.X < r && p.Y >= t && p.Y < b;
}

gui::TRect G(int l, int t, int r, int b) {
    return gui::TRect{l, t, r, b};
}

} // namespace

// --- geometry --------------------------------------------------------------------------------

TbsLayerFrameGeometry LayerFrameGeometry(const TbsDataSkinLayerFrame& d, int sw, int sh, const TRect& Form) {
    TbsLayerFrameGeometry g;
    const TRect& cl = d.ClRect;
    const int X = Form.Left - cl.Left, Y = Form.Top - cl.Top;
    const int FW = Form.Width() + sw - cl.Width(), FH = Form.Height() + sh - cl.Height();
    g.Frame = Rect(X, Y, X + FW, Y + FH);
    // Stored points outside the picture are taken to its edges.
    g.TopHeight = std::clamp<int>(std::max(d.LTPoint.Y, d.RTPoint.Y), 0, sh);
    g.BottomHeight = std::clamp<int>(sh - std::min(d.LBPoint.Y, d.RBPoint.Y), 0, sh - g.TopHeight);
    g.LeftWidth = std::clamp<int>(cl.Left, 0, sw);
    g.RightWidth = std::clamp<int>(sw - cl.Right, 0, sw);
    // A picture with no middle rows has nothing to repeat down the sides.
    const bool middle = sh - g.TopHeight - g.BottomHeight > 0;
    g.SideHeight = middle ? std::max(FH - g.TopHeight - g.BottomHeight, 0) : 0;
    g.Strips[bsflTop] = Rect(X, Y, X + FW, Y + g.TopHeight);
    g.Strips[bsflBottom] = Rect(X, Y + FH - g.BottomHeight, X + FW, Y + FH);
    const int top = Y + g.TopHeight;
    g.Strips[bsflLeft] = Rect(X, top, X + g.LeftWidth, top + g.SideHeight);
    g.Strips[bsflRight] = Rect(X + FW - g.RightWidth, top, X + FW, top + g.SideHeight);
    return g;
}

TbsFormLayerBorderHit LayerBorderHit(TbsFormLayerBorderType Type, TPoint P, const TRect& F, int LeftSize,
                                     int TopSize, int RightSize, int BottomSize) {
    const int L = F.Left, T = F.Top, W = F.Width(), H = F.Height();
    auto side = [&]() {
        if (P.X >= L - LeftSize && P.X < L) return bsflhLeft;
        if (P.X > L + W && P.X <= L + W + RightSize) return bsflhRight;
        return bsflhNone;
    };
    switch (Type) {
    case bsflLeft:
        return P.X >= L - LeftSize ? bsflhLeft : bsflhNone;
    case bsflRight:
        return P.X <= L + W + RightSize ? bsflhRight : bsflhNone;
    case bsflTop:
        if (In(P, L - LeftSize, T - TopSize, L + 3, T + 3)) return bsflhTopLeft;
        if (In(P, L, T - TopSize, L + W, T)) return bsflhTop;
        if (In(P, L + W - 3, T - TopSize, L + W + RightSize, T + 3)) return bsflhTopRight;
        return P.Y > T ? side() : bsflhNone;
    case bsflBottom:
        if (In(P, L - LeftSize, T + H - 3, L + 3, T + H + BottomSize)) return bsflhBottomLeft;
        if (In(P, L, T + H, L + W, T + H + BottomSize)) return bsflhBottom;
        if (In(P, L + W - 3, T + H - 3, L + W + RightSize, T + H + BottomSize)) return bsflhBottomRight;
        return P.Y < T + H ? side() : bsflhNone;
    }
    return bsflhNone;
}

std::optional<TRect> LayerBorderResize(TbsFormLayerBorderHit Hit, const TRect& F, int dx, int dy, int MinW,
                                       int MinH, int MaxW, int MaxH) {
    const int L = F.Left, T = F.Top, W = F.Width(), H = F.Height();
    auto clampW = [&](int w) { return std::min(std::max(w, MinW), MaxW); };
    auto clampH = [&](int h) { return std::min(std::max(h, MinH), MaxH); };
    bool left = Hit == bsflhLeft || Hit == bsflhTopLeft || Hit == bsflhBottomLeft;
    bool right = Hit == bsflhRight || Hit == bsflhTopRight || Hit == bsflhBottomRight;
    bool top = Hit == bsflhTop || Hit == bsflhTopLeft || Hit == bsflhTopRight;
    bool bottom = Hit == bsflhBottom || Hit == bsflhBottomLeft || Hit == bsflhBottomRight;
    if (Hit == bsflhNone) return std::nullopt;
    int nl = L, nt = T, nw = W, nh = H;
    if (left) {
        nw = clampW(W - dx);
        nl = L + dx;
        if (nl + nw != L + W) return std::nullopt; // the right edge stays or the step is skipped
    } else if (right) {
        nw = clampW(W + dx);
    }
    if (top) {
        nh = clampH(H - dy);
        nt = T + dy;
        if (nt + nh != T + H) return std::nullopt; // the bottom edge stays
    } else if (bottom) {
        nh = clampH(H + dy);
    }
    if (!left && !right) dx = 0;
    if (!top && !bottom) dy = 0;
    if ((dx == 0 && dy == 0) || (nw == W && nh == H)) return std::nullopt;
    return Rect(nl, nt, nl + nw, nt + nh);
}

// --- the windows -----------------------------------------------------------------------------

TbsFormLayerWindow::TbsFormLayerWindow(TbsFormLayerBorder* AOwner, gui::TCustomForm* AForm,
                                       TbsFormLayerBorderType AType)
    : gui::TForm(nullptr), FForm(AForm), FLayerBorder(AOwner), BorderType(AType) {
    SetVisible(false);
    SetBorderStyle(gui::bsNone);
    SetFormStyle(AForm && AForm->FormStyle() == gui::fsStayOnTop ? gui::fsStayOnTop : gui::fsNormal);
}

void TbsFormLayerWindow::CreateParams(gui::TCreateParams& p) {
    gui::TForm::CreateParams(p);
    p.WndParent = nullptr;
    p.ExStyle |= WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    // Without resize bands the pointer passes through to what lies below.
    TbsDataSkinLayerFrame* d = FLayerBorder->FData;
    if (!d || Blank(d->BorderRect)) p.ExStyle |= WS_EX_TRANSPARENT;
}

void TbsFormLayerWindow::Dispatch(gui::TMessage& m) {
    if (m.Msg != WM_MOUSEACTIVATE) {
        gui::TForm::Dispatch(m);
        return;
    }
    m.Result = MA_NOACTIVATE;
    TbsDataSkinLayerFrame* d = FLayerBorder->FData;
    if (!d || !d->HitTestEnable) return;
    POINT p{};
    GetCursorPos(&p);
    FHitMode = HitOf(Point(p.x, p.y));
    if (FHitMode != bsflhNone && FForm && !FForm->Active()) FForm->Show();
}

TbsFormLayerBorderHit TbsFormLayerWindow::HitOf(TPoint P) const {
    const TbsFormLayerBorder* b = FLayerBorder;
    return LayerBorderHit(BorderType, P, b->FormRect(), b->LeftSize, b->TopSize, b->RightSize, b->BottomSize);
}

bool TbsFormLayerWindow::CanResize() const {
    TbsSkinForm* bsf = FLayerBorder->BSF;
    if (!FForm) return false;
    bool sizeable = FForm->BorderStyle() == gui::bsSizeable || FForm->BorderStyle() == gui::bsSizeToolWin;
    if (!bsf) return sizeable && FForm->WindowState() == gui::wsNormal;
    return (bsf->AlwaysResize || sizeable) && !bsf->RollUpState() && bsf->WindowState() == gui::wsNormal;
}

void TbsFormLayerWindow::PointerDown(TPoint P) {
    if (!FLayerBorder->FData || !FLayerBorder->FData->HitTestEnable || !CanResize()) return;
    FInProcessMessages = false;
    FDown = HitOf(P) != bsflhNone;
    FHitMode = HitOf(P);
    MousePos1 = MousePos2 = P;
}

void TbsFormLayerWindow::PointerUp() {
    if (!FLayerBorder->FData || !FLayerBorder->FData->HitTestEnable) return;
    FLayerBorder->FBorderLayerChangeSize = false;
    if (!CanResize()) return;
    FDown = false;
    FInProcessMessages = false;
}

void TbsFormLayerWindow::PointerMove(TPoint P) {
    if (!FLayerBorder->FData || !FLayerBorder->FData->HitTestEnable) return;
    // A move that arrives while a step lets the queue run is taken up by the next move,
    // which measures from the last applied position: a step never starts inside another.
    if (FInProcessMessages) return;
    if (!CanResize()) {
        if (Cursor() != gui::crDefault) SetCursor(gui::crDefault);
        return;
    }
    MousePos2 = P;
    if (!FDown) {
        FLayerBorder->FBorderLayerChangeSize = false;
        FHitMode = HitOf(P);
        static constexpr gui::TCursor cursors[] = {gui::crDefault,  gui::crSizeWE,   gui::crSizeNS,
                                                   gui::crSizeWE,   gui::crSizeNS,   gui::crSizeNWSE,
                                                   gui::crSizeNESW, gui::crSizeNESW, gui::crSizeNWSE};
        SetCursor(cursors[FHitMode]);
    } else {
        ResizeStep();
    }
    MousePos1 = MousePos2;
}

void TbsFormLayerWindow::ResizeStep() {
    FLayerBorder->FBorderLayerChangeSize = true;
    TbsSkinForm* bsf = FLayerBorder->BSF;
    int minW = bsf ? bsf->GetMinWidth() : 0, minH = bsf ? bsf->GetMinHeight() : 0;
    int maxW = bsf ? bsf->GetMaxWidth() : INT_MAX, maxH = bsf ? bsf->GetMaxHeight() : INT_MAX;
    std::optional<TRect> r = LayerBorderResize(FHitMode, FLayerBorder->FormRect(), MousePos2.X - MousePos1.X,
                                               MousePos2.Y - MousePos1.Y, minW, minH, maxW, maxH);
    if (!r) return;
    // Sizing the form sends its own messages at once, before the queue runs: the guard holds
    // from here, or a move handled on the way would start a step inside this one.
    FInProcessMessages = true;
    MousePos1 = MousePos2;
    FForm->SetBounds(r->Left, r->Top, r->Width(), r->Height());
    // A skinned form's size tracking moves its border; a border on its own follows here.
    if (!bsf) FLayerBorder->SetBoundsWithForm();
    gui::Application->ProcessMessages();
    FInProcessMessages = false;
}

void TbsFormLayerWindow::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    gui::TForm::MouseDown(Button, Shift, X, Y);
    POINT p{};
    GetCursorPos(&p);
    PointerDown(Point(p.x, p.y));
}

void TbsFormLayerWindow::MouseMove(gui::TShiftState Shift, int X, int Y) {
    if (!FInProcessMessages) gui::TForm::MouseMove(Shift, X, Y);
    POINT p{};
    GetCursorPos(&p);
    PointerMove(Point(p.x, p.y));
}

void TbsFormLayerWindow::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    gui::TForm::MouseUp(Button, Shift, X, Y);
    PointerUp();
}

// --- the border ------------------------------------------------------------------------------

TbsFormLayerBorder::TbsFormLayerBorder(gui::TComponent* AOwner, TbsSkinForm* ASkinForm)
    : gui::TComponent(AOwner), BSF(ASkinForm) {}

TbsFormLayerBorder::~TbsFormLayerBorder() {
    for (auto& w : Windows) w.reset();
}

TRect TbsFormLayerBorder::FormRect() const {
    if (!FForm) return TRect{};
    return Rect(FForm->Left(), FForm->Top(), FForm->Left() + FForm->Width(), FForm->Top() + FForm->Height());
}

TbsLayerFrameGeometry TbsFormLayerBorder::Geometry(const TRect& Form) const {
    return LayerFrameGeometry(*FData, FSourceBitmap->Width(), FSourceBitmap->Height(), Form);
}

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, gui::TCustomForm* AForm) {
    FForm = AForm;
    FSD = ASkinData;
    FData = ASkinData && !ASkinData->Empty ? &ASkinData->LayerFrame : nullptr;
    gui::TBitmap* picture = FData ? PictureOf(ASkinData, FData->PictureIndex) : nullptr;
    // An index that addresses no picture counts as no frame.
    if (!picture) FData = nullptr;
    if (!FData) return;
    FCurrentAlphaBlendValue = FData->AlphaBlendValue;
    FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
    // A mask index that addresses no picture leaves the frame opaque.
    FSourceBitmap = std::make_unique<TbsBitmap>();
    MakeAlphaImage(picture, PictureOf(ASkinData, FData->MaskPictureIndex), *FSourceBitmap);
    FSourceBitmap->CheckingAlphaBlend();
    FSourceInActiveBitMap.reset();
    if (gui::TBitmap* inactive = PictureOf(ASkinData, FData->InActivePictureIndex)) {
        FSourceInActiveBitMap = std::make_unique<TbsBitmap>();
        MakeAlphaImage(inactive, PictureOf(ASkinData, FData->InActiveMaskPictureIndex),
                       *FSourceInActiveBitMap);
        FSourceInActiveBitMap->CheckingAlphaBlend();
    }
    const TRect& cl = FData->ClRect;
    const TRect& br = FData->BorderRect;
    if (Blank(br)) {
        LeftSize = TopSize = RightSize = BottomSize = 0;
    } else {
        LeftSize = cl.Left - br.Left;
        TopSize = cl.Top - br.Top;
        RightSize = br.Right - cl.Right;
        BottomSize = br.Bottom - cl.Bottom;
    }
}

void TbsFormLayerBorder::CreateBorderImages(int AWidth, int AHeight) {
    if (!FData) return;
    TbsBitmap& S = !FActive && FSourceInActiveBitMap ? *FSourceInActiveBitMap : *FSourceBitmap;
    for (auto& i : Images) i.reset();
    const int sw = S.Width(), sh = S.Height();
    TbsLayerFrameGeometry g = LayerFrameGeometry(
        *FData, sw, sh,
        Rect(0, 0, AWidth - sw + FData->ClRect.Width(), AHeight - sh + FData->ClRect.Height()));
    const int th = g.TopHeight, bh = g.BottomHeight;
    auto horizontal = [&](int rowTop, int rows, int lx, int rx) {
        auto img = std::make_unique<TbsBitmap>();
        if (rows <= 0 || AWidth <= 0) return img;
        img->SetSize(AWidth, rows);
        lx = std::clamp(lx, 0, sw);
        rx = std::clamp(rx, lx, sw);
        const int rightW = sw - rx;
        S.Draw(*img, 0, 0, G(0, rowTop, lx, rowTop + rows));
        S.Draw(*img, AWidth - rightW, 0, G(rx, rowTop, sw, rowTop + rows));
        if (rx > lx && AWidth - rightW > lx)
            S.Draw(*img, G(lx, 0, AWidth - rightW, rows), G(lx, rowTop, rx, rowTop + rows));
        img->CheckingAlphaBlend();
        return img;
    };
    Images[bsflTop] = horizontal(0, th, FData->LTPoint.X, FData->RTPoint.X);
    Images[bsflBottom] = horizontal(sh - bh, bh, FData->LBPoint.X, FData->RBPoint.X);
    auto vertical = [&](int x0, int w) {
        auto img = std::make_unique<TbsBitmap>();
        const int side = g.SideHeight, band = sh - th - bh;
        if (side <= 0 || w <= 0 || band <= 0) return img;
        img->SetSize(w, side);
        for (int y = 0; y < side; y += band)
            S.Draw(*img, 0, y, G(x0, th, x0 + w, th + std::min(band, side - y)));
        img->CheckingAlphaBlend();
        return img;
    };
    Images[bsflLeft] = vertical(0, g.LeftWidth);
    Images[bsflRight] = vertical(sw - g.RightWidth, g.RightWidth);
}

void TbsFormLayerBorder::PlaceWindows(int X, int Y, bool Show) {
    const int sw = FSourceBitmap->Width(), sh = FSourceBitmap->Height();
    // The frame at (X, Y) of FWidth × FHeight stands for a form inside it.
    const TRect form = Rect(X + FData->ClRect.Left, Y + FData->ClRect.Top,
                            X + FData->ClRect.Left + FWidth - sw + FData->ClRect.Width(),
                            Y + FData->ClRect.Top + FHeight - sh + FData->ClRect.Height());
    TbsLayerFrameGeometry g = LayerFrameGeometry(*FData, sw, sh, form);
    for (int i = 0; i < 4; ++i) {
        TbsFormLayerWindow* w = Windows[static_cast<size_t>(i)].get();
        TbsBitmap* img = Images[static_cast<size_t>(i)].get();
        if (!w) continue;
        const TRect& r = g.Strips[static_cast<size_t>(i)];
        if (img && !img->Empty()) {
            w->SetBounds(r.Left, r.Top, img->Width(), img->Height());
            UpdateLayeredWindowFromBitmap(*img, CurrentAlpha(), w);
        }
        UINT flags = SWP_NOACTIVATE | SWP_NOSIZE;
        if (Show) flags |= SWP_SHOWWINDOW;
        SetWindowPos(w->Handle(), nullptr, r.Left, r.Top, 0, 0, flags | SWP_NOZORDER);
        if (Show) w->SetVisible(true);
    }
}

void TbsFormLayerBorder::Show(int X, int Y, int AWidth, int AHeight) {
    if (!FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    CreateBorderImages(AWidth, AHeight);
    for (int i = 0; i < 4; ++i) {
        Windows[static_cast<size_t>(i)].reset();
        TbsBitmap* img = Images[static_cast<size_t>(i)].get();
        if (img && !img->Empty())
            Windows[static_cast<size_t>(i)] =
                std::make_unique<TbsFormLayerWindow>(this, FForm, static_cast<TbsFormLayerBorderType>(i));
    }
    PlaceWindows(X, Y, true);
}

void TbsFormLayerBorder::SetBounds(int X, int Y, int AWidth, int AHeight) {
    if (!FData || !FVisible) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateBorderImages(AWidth, AHeight);
    PlaceWindows(X, Y, true);
}

void TbsFormLayerBorder::Hide() {
    FVisible = false;
    for (auto& i : Images) i.reset();
    for (auto& w : Windows) w.reset();
}

void TbsFormLayerBorder::ShowWithForm() {
    if (!FData || !FForm) return;
    const TRect f = Geometry(FormRect()).Frame;
    Show(f.Left, f.Top, f.Width(), f.Height());
}

void TbsFormLayerBorder::ShowWithFormAnimation() {
    if (!FData) return;
    const int target = FCurrentAlphaBlendValue;
    FCurrentAlphaBlendValue = 0;
    ShowWithForm();
    gui::Application->ProcessMessages();
    const int step = std::max(1, target / 15);
    while (FCurrentAlphaBlendValue < target) {
        os::SleepMs(6);
        FCurrentAlphaBlendValue = std::min(FCurrentAlphaBlendValue + step, target);
        SetAlphaBlend();
    }
}

void TbsFormLayerBorder::SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH) {
    if (!FData || !FVisible) return;
    const TRect f = Geometry(Rect(ALeft, ATop, ALeft + AW, ATop + AH)).Frame;
    SetBounds(f.Left, f.Top, f.Width(), f.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm() {
    if (FForm) SetBoundsWithForm3(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
}

void TbsFormLayerBorder::SetBoundsWithForm2(int AW, int AH) {
    if (FForm) SetBoundsWithForm3(FForm->Left(), FForm->Top(), AW, AH);
}

void TbsFormLayerBorder::MoveWithForm2(int ALeft, int ATop) {
    if (!FData || !FVisible || !FForm) return;
    const TRect f = Geometry(Rect(ALeft, ATop, ALeft + FForm->Width(), ATop + FForm->Height())).Frame;
    const int sw = FSourceBitmap->Width(), sh = FSourceBitmap->Height();
    TbsLayerFrameGeometry g =
        LayerFrameGeometry(*FData, sw, sh,
                           Rect(f.Left + FData->ClRect.Left, f.Top + FData->ClRect.Top,
                                f.Left + FData->ClRect.Left + FWidth - sw + FData->ClRect.Width(),
                                f.Top + FData->ClRect.Top + FHeight - sh + FData->ClRect.Height()));
    for (int i = 0; i < 4; ++i)
        if (TbsFormLayerWindow* w = Windows[static_cast<size_t>(i)].get()) {
            const TRect& r = g.Strips[static_cast<size_t>(i)];
            w->SetBounds(r.Left, r.Top, w->Width(), w->Height());
        }
}

void TbsFormLayerBorder::MoveWithForm() {
    if (FForm) MoveWithForm2(FForm->Left(), FForm->Top());
}

void TbsFormLayerBorder::SetAlphaBlend() {
    if (!FData || !FVisible) return;
    for (int i = 0; i < 4; ++i) {
        TbsFormLayerWindow* w = Windows[static_cast<size_t>(i)].get();
        TbsBitmap* img = Images[static_cast<size_t>(i)].get();
        if (w && img && !img->Empty()) UpdateLayeredWindowFromBitmap(*img, CurrentAlpha(), w);
    }
}

void TbsFormLayerBorder::SetAlphaBlend2() {
    if (!FData || !FVisible) return;
    SetAlphaBlend();
    MoveWithForm();
}

void TbsFormLayerBorder::SetActive(bool AValue, bool AUpdate) {
    FActive = AValue;
    if (FVisible && AUpdate) SetAlphaBlend2();
}

void TbsFormLayerBorder::CheckFormAlpha(int AFormAlpha, bool AUpdate) {
    if (!FData) return;
    const double k = AFormAlpha / 255.0;
    // Nearest, halves to even: the default rounding mode.
    FCurrentAlphaBlendValue = static_cast<int>(std::nearbyint(FData->AlphaBlendValue * k));
    FCurrentInActiveAlphaBlendValue = static_cast<int>(std::nearbyint(FData->InActiveAlphaBlendValue * k));
    if (AUpdate) SetAlphaBlend();
}

void TbsFormLayerBorder::Draw(gui::TCanvas* Canvas, int X, int Y, int AWidth, int AHeight) {
    if (!FData) return;
    CreateBorderImages(AWidth, AHeight);
    const int th = Images[bsflTop] ? Images[bsflTop]->Height() : 0;
    const int bh = Images[bsflBottom] ? Images[bsflBottom]->Height() : 0;
    auto draw = [&](TbsFormLayerBorderType t, int x, int y) {
        TbsBitmap* img = Images[t].get();
        if (!img || img->Empty()) return;
        img->AlphaBlend = true;
        img->Draw(Canvas, x, y);
    };
    draw(bsflTop, X, Y);
    draw(bsflBottom, X, Y + AHeight - bh);
    draw(bsflLeft, X, Y + th);
    if (Images[bsflRight] && !Images[bsflRight]->Empty())
        draw(bsflRight, X + AWidth - Images[bsflRight]->Width(), Y + th);
}

} // namespace skin

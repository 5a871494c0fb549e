#include "skin/controls/SkinListBox.h"

#include "controls/CommCtrl.h"
#include "gdi/DcText.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinData.h"
#include "skin/engine/DrawUtils.h"
#include "skin/engine/NinePart.h"
#include "skin/engine/SkinRect.h"
#include "win/Message.h"
#include "win/Scroll.h"
#include "win/Styles.h"
#include "win/Timers.h"

#include <algorithm>
#include <cctype>

namespace skin {

namespace {

constexpr uintptr_t kRepeatTimer = 1;
constexpr UINT kFirstDelay = 500, kRepeat = 100, kBackOn = 50;
const gui::TColor kNavy = RGB(0, 0, 128);

bool Inside(const gui::TRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

// --- TbsListBox ----------------------------------------------------------------------------

TbsListBox::TbsListBox(gui::TComponent* AOwner) : gui::TCustomListBox(AOwner) {
    ControlStyle = gui::csCaptureMouse | gui::csOpaque | gui::csDoubleClicks;
    SetBorderStyle(gui::bsNoBorder);
    SetStyle(gui::lbOwnerDrawFixed);
}

void TbsListBox::CreateParams(gui::TCreateParams& p) {
    gui::TCustomListBox::CreateParams(p);
    p.Style &= ~(WS_BORDER | WS_VSCROLL | WS_HSCROLL);
    p.Style |= WS_TABSTOP;
    p.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TbsListBox::DrawItem(int Index, const gui::TRect& Rect, gui::TOwnerDrawState State) {
    if (!SkinListBox) return gui::TCustomListBox::DrawItem(Index, Rect, State);
    // Focused only while the list has the focus; a plain selection otherwise.
    if (!Focused()) State &= static_cast<gui::TOwnerDrawState>(~gui::odFocused);
    SkinListBox->DrawRow(Canvas(), Index, Rect, State);
}

void TbsListBox::WndProc(gui::TMessage& m) {
    if (SkinListBox) {
        bool go = true;
        SkinListBox->ListBoxWndProc(m, go);
        if (!go) return;
    }
    if (m.Msg == WM_MOUSEWHEEL && SkinListBox) {
        int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
        if (SkinListBox->ScrollBar()) {
            SetTopIndex(std::max(0, TopIndex() + (delta > 0 ? -1 : 1)));
            SkinListBox->UpDateScrollBar();
        } else if (TbsSkinScrollBar* h = SkinListBox->HScrollBar()) {
            h->SetPosition(h->Position() + (delta > 0 ? -h->SmallChange() : h->SmallChange()));
        }
        m.Result = 0;
        return;
    }
    if (m.Msg == WM_ERASEBKGND && SkinListBox) {
        gui::TCanvas* c = Canvas();
        c->SetHandle(reinterpret_cast<HDC>(m.WParam));
        SkinListBox->PaintListBackground(c, {0, 0, Width(), Height()});
        c->SetHandle(nullptr);
        m.Result = 1;
        // The list erases after every scroll, also by the keys: the bar follows it here.
        if (!(ControlState & gui::csCreating)) SkinListBox->UpDateScrollBar();
        return;
    }
    gui::TCustomListBox::WndProc(m);
    // While the window is being made its kept items go back in: the bars follow afterwards.
    if (!SkinListBox || (ControlState & gui::csCreating)) return;
    switch (m.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case WM_SIZE:
        SkinListBox->UpDateScrollBar();
        break;
    case 48202:
        break;
    default:
        break;
    }
}

void TbsListBox::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseDown(Button, Shift, X, Y);
    gui::TCustomListBox::MouseDown(Button, Shift, X, Y);
}

void TbsListBox::MouseMove(gui::TShiftState Shift, int X, int Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseMove(Shift, X, Y);
    gui::TCustomListBox::MouseMove(Shift, X, Y);
}

void TbsListBox::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (SkinListBox) SkinListBox->ListBoxMouseUp(Button, Shift, X, Y);
    gui::TCustomListBox::MouseUp(Button, Shift, X, Y);
}

void TbsListBox::Click() {
    if (SkinListBox) SkinListBox->ListBoxClick();
    gui::TCustomListBox::Click();
}

void TbsListBox::DblClick() {
    gui::TCustomListBox::DblClick();
    if (SkinListBox) SkinListBox->ListBoxDblClick();
}

void TbsListBox::KeyDown(WORD& Key, gui::TShiftState Shift) {
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(Key, Shift);
        // With a sideways bar, Left and Right scroll the text instead of moving the selection.
        if (TbsSkinScrollBar* h = SkinListBox->HScrollBar(); h && (Key == VK_LEFT || Key == VK_RIGHT)) {
            h->SetPosition(h->Position() + (Key == VK_LEFT ? -h->SmallChange() : h->SmallChange()));
            Key = 0;
        }
    }
    gui::TCustomListBox::KeyDown(Key, Shift);
}

void TbsListBox::KeyPress(char32_t& Key) {
    if (SkinListBox) SkinListBox->ListBoxKeyPress(Key);
    gui::TCustomListBox::KeyPress(Key);
}

// --- TbsSkinCustomListBox ------------------------------------------------------------------

TbsSkinCustomListBox::TbsSkinCustomListBox(gui::TComponent* AOwner)
    : TbsSkinCustomControl(AOwner), FTabWidths(std::make_unique<gui::TStringList>()) {
    ControlStyle |= gui::csCaptureMouse | gui::csClickEvents | gui::csOpaque | gui::csDoubleClicks |
                    gui::csAcceptsControls;
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(gui::clWindowText);
    Font()->SetStyle(0);
    FSkinDataName = "listbox";
    FListBox = std::make_unique<TbsListBox>(nullptr);
    FListBox->SkinListBox = this;
    FListBox->SetItemHeight(FDefaultItemHeight);
    FListBox->SetParent(this);
    FListBox->SetVisible(true);
    TbsSkinCustomControl::SetBounds(Left(), Top(), 120, 120);
}

TbsSkinCustomListBox::~TbsSkinCustomListBox() {
    StopTimer();
    FScrollBar.reset();
    FHScrollBar.reset();
    if (FListBox) FListBox->SkinListBox = nullptr;
    FListBox.reset();
}

void TbsSkinCustomListBox::Notification(gui::TComponent* AComponent, gui::TOperation Operation) {
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation == gui::TOperation::opRemove && AComponent == FImages) FImages = nullptr;
}

void TbsSkinCustomListBox::SetImages(gui::TCustomImageList* Value) {
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    FListBox->Invalidate();
}

void TbsSkinCustomListBox::SetImageIndex(int Value) {
    FImageIndex = Value;
    FListBox->Invalidate();
}

void TbsSkinCustomListBox::SetAlignment(gui::TAlignment Value) {
    FAlignment = Value;
    if (FCaptionMode) Invalidate();
}

void TbsSkinCustomListBox::SetGlyph(const gui::TBitmap* Value) {
    if (!Value || Value->Empty()) {
        FGlyph.reset();
    } else {
        if (!FGlyph) FGlyph = std::make_unique<gui::TBitmap>();
        FGlyph->Assign(Value);
    }
    Invalidate();
}

void TbsSkinCustomListBox::SetNumGlyphs(int Value) {
    FNumGlyphs = std::clamp(Value, 1, 2);
    Invalidate();
}

void TbsSkinCustomListBox::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TbsSkinCustomListBox::SetColumns(int Value) {
    FListBox->SetColumns(Value);
    CalcRects();
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetHorizontalExtent(bool Value) {
    FHorizontalExtent = Value;
    UpDateScrollBar();
}

int TbsSkinCustomListBox::ItemTextWidth(int Index, gui::TCanvas* Canvas) {
    return Canvas->TextWidth(FListBox->Items()->Strings(Index));
}

// --- items ---------------------------------------------------------------------------------

void TbsSkinCustomListBox::SetItems(const gui::TStrings* Value) {
    FListBox->SetItems(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetItemIndex(int Value) {
    FListBox->SetItemIndex(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetTopIndex(int Value) {
    FListBox->SetTopIndex(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetSorted(bool Value) {
    FScrollBar.reset();
    FListBox->SetSorted(Value);
    CalcRects();
    UpDateScrollBar();
}

void TbsSkinCustomListBox::Clear() {
    FListBox->Clear();
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetTabWidths(const gui::TStrings* Value) {
    FTabWidths->Assign(Value);
    if (FTabWidths->Count() > 0) FListBox->Invalidate();
}

std::vector<int> TbsSkinCustomListBox::TabStops() const {
    std::vector<int> stops;
    for (int i = 0; i < std::min(FTabWidths->Count(), 10); ++i) {
        const std::string s = FTabWidths->Strings(i);
        bool digits =
            !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
        stops.push_back(digits ? std::stoi(s) : 0);
    }
    return stops;
}

// --- sizes ---------------------------------------------------------------------------------

// A skin item of no height must not give rows of none: every division by the row height
// follows from here.
void TbsSkinCustomListBox::ApplyItemHeight(int Height) {
    FListBox->SetItemHeight(std::max(1, Height));
}

void TbsSkinCustomListBox::SetDefaultItemHeight(int Value) {
    FDefaultItemHeight = Value;
    if (!(FIndex != -1 && UseSkinItemHeight)) ApplyItemHeight(Value);
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetRowCount(int Value) {
    FRowCount = Value;
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    UpDateScrollBar();
}

void TbsSkinCustomListBox::SetCaptionMode(bool Value) {
    FCaptionMode = Value;
    CalcRects();
    Invalidate();
}

void TbsSkinCustomListBox::SetDefaultCaptionHeight(int Value) {
    FDefaultCaptionHeight = Value;
    if (FIndex == -1 && FCaptionMode) {
        CalcRects();
        Invalidate();
    }
}

void TbsSkinCustomListBox::SetShowCaptionButtons(bool Value) {
    FShowCaptionButtons = Value;
    Invalidate();
}

int TbsSkinCustomListBox::CalcHeight(int AItemsCount) {
    GetSkinData();
    int bar = FHScrollBar ? FHScrollBar->Height() : 0;
    if (FIndex == -1)
        return AItemsCount * ItemHeight() + 4 + (FCaptionMode ? FDefaultCaptionHeight : 0) + bar;
    return SkinRect.Height() + AItemsCount * ItemHeight() - ClRect.Height() + bar;
}

void TbsSkinCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FListBox) {
        CalcRects();
        UpDateScrollBar();
    }
    if (FIndex == -1) Invalidate();
}

void TbsSkinCustomListBox::CalcRects() {
    if (!FListBox) return;
    GetSkinData();
    int W = Width(), H = Height();
    int C = (FIndex == -1 && FCaptionMode) ? FDefaultCaptionHeight : 1;
    gui::TRect cl;
    if (FIndex != -1) {
        cl = ToGuiRect(ClRect);
        cl.right += W - SkinRect.Width();
        cl.bottom += H - SkinRect.Height();
    }
    // The sideways bar along the bottom.
    int hb = 0;
    if (FHScrollBar && FHScrollBar->Visible()) {
        if (FIndex == -1) {
            FHScrollBar->SetBounds(1, H - 20, W - 2, 19);
            hb = FHScrollBar->Height() - 1;
        } else {
            int bh = FHScrollBar->Height();
            FHScrollBar->SetBounds(cl.left, cl.bottom - bh, gui::RectWidth(cl), bh);
            hb = bh;
        }
    }
    bool columns = FListBox->Columns() >= 1;
    if (FScrollBar && FScrollBar->Visible() && columns) {
        // Columns scroll sideways: the bar along the bottom.
        if (FIndex == -1) {
            FScrollBar->SetBounds(1, H - 20, W - 2, 19);
            ListRect = {2, C + 1, W - 2, H - 20};
        } else {
            int bh = FScrollBar->Height();
            FScrollBar->SetBounds(cl.left, cl.bottom - bh, gui::RectWidth(cl), bh);
            ListRect = {cl.left, cl.top, cl.right, cl.bottom - bh};
        }
    } else if (FScrollBar && FScrollBar->Visible()) {
        if (FIndex == -1) {
            FScrollBar->SetBounds(W - 20, C, 19, std::max(0, H - C - hb - 1));
            ListRect = {2, C + 1, W - 20, H - hb - 2};
        } else {
            int bw = FScrollBar->Width();
            FScrollBar->SetBounds(cl.right - bw, cl.top, bw, gui::RectHeight(cl) - hb);
            ListRect = {cl.left, cl.top, cl.right - bw, cl.bottom - hb};
        }
    } else {
        ListRect = FIndex == -1 ? gui::TRect{2, C + 1, W - 2, H - 2} : cl;
        ListRect.bottom -= hb;
    }
    FListBox->SetBounds(ListRect.left, ListRect.top, std::max(0, gui::RectWidth(ListRect)),
                        std::max(0, gui::RectHeight(ListRect)));
}

void TbsSkinCustomListBox::RemoveHScrollBar() {
    if (!FHScrollBar) return;
    FListBox->HorizontalExtentValue = 0;
    FHScrollBar.reset();
    CalcRects();
    FListBox->Invalidate();
}

// The sideways bar's section: with the vertical bar beside it the corner is its own.
void TbsSkinCustomListBox::SetUpHScrollBar() {
    bool both = FScrollBar != nullptr;
    if (FIndex == -1) {
        FHScrollBar->SetSkinDataName("");
        FHScrollBar->SetBoth(both);
        FHScrollBar->SetBothMarkerWidth(19);
    } else {
        std::string name = both ? BothScrollBarName : HScrollBarName;
        FHScrollBar->SetSkinDataName(name);
        FHScrollBar->BothSkinDataName = name;
        FHScrollBar->SetBoth(both);
    }
    FHScrollBar->SetSkinData(FSD);
}

void TbsSkinCustomListBox::UpdateHScrollBar() {
    if (!FHorizontalExtent || FStopUpDateHScrollBar || FListBox->Columns() >= 1) {
        RemoveHScrollBar();
        return;
    }
    gui::TBitmap measure;
    measure.SetSize(1, 1);
    gui::TCanvas* m = measure.Canvas();
    if (FIndex != -1 && UseSkinFont) {
        m->Font()->SetName(FontName);
        m->Font()->SetStyle(FontStyle);
        m->Font()->SetHeight(FontHeight);
    } else {
        m->Font()->Assign(FListBox->Font());
    }
    int widest = 0;
    for (int i = 0; i < FListBox->Count(); ++i) widest = std::max(widest, ItemTextWidth(i, m));
    int page =
        FIndex == -1 ? FListBox->Width() - 4 : FListBox->Width() + ItemTextRect.Width() - SItemRect.Width();
    if (FImages) page -= FImages->Width() + 4;
    if (page >= widest) {
        RemoveHScrollBar();
        return;
    }
    bool created = false;
    if (!FHScrollBar) {
        FHScrollBar = std::make_unique<TbsSkinScrollBar>(nullptr);
        FHScrollBar->SetKind(TScrollBarKind::sbHorizontal);
        FHScrollBar->SetBounds(0, 0, 100, 20);
        FHScrollBar->OnChange = [this](gui::TObject*) {
            FListBox->HorizontalExtentValue = FHScrollBar->Position();
            FListBox->Invalidate();
        };
        SetUpHScrollBar();
        FHScrollBar->SetParent(this);
        FHScrollBar->SetVisible(true);
        created = true;
    }
    FHScrollBar->SetRange(0, widest, std::max(page, 1), FHScrollBar->Position());
    int step = std::max(1, m->TextWidth("0"));
    FHScrollBar->SetSmallChange(step);
    FHScrollBar->SetLargeChange(step);
    if (created) {
        CalcRects();
        Invalidate();
    }
}

// The bar mirrors the list's top row (its range the rows, its page the rows that fit); with
// columns it lies along the bottom and mirrors the list's columns.
void TbsSkinCustomListBox::UpDateScrollBar() {
    if (!FListBox || FUpdating) return;
    FUpdating = true;
    UpdateHScrollBar();
    int count = FListBox->Count();
    int page = FListBox->Height() / ItemHeight();
    int columns = FListBox->Columns();
    int min = 0, max = 0, pos = 0;
    bool need = false;
    if (columns >= 1) {
        if (FListBox->HandleAllocated()) {
            GetScrollRange(FListBox->Handle(), SB_HORZ, &min, &max);
            pos = GetScrollPos(FListBox->Handle(), SB_HORZ);
        }
        need = min < max && max >= pos && max >= columns && page * columns < count;
    } else {
        need = (FRowCount < 1 || FRowCount != count) && count > 0 && page < count;
        max = count - 1;
        pos = FListBox->TopIndex();
    }
    TScrollBarKind kind = columns >= 1 ? TScrollBarKind::sbHorizontal : TScrollBarKind::sbVertical;
    // A bar of the other kind goes first.
    if (FScrollBar && FScrollBar->Kind() != kind) {
        FScrollBar.reset();
        CalcRects();
    }
    if (need) {
        bool created = false;
        if (!FScrollBar) {
            FScrollBar = std::make_unique<TbsSkinScrollBar>(nullptr);
            FScrollBar->SetKind(kind);
            FScrollBar->SetBounds(0, 0, 20, 100);
            FScrollBar->SetSkinDataName(FIndex == -1 ? "" : columns >= 1 ? HScrollBarName : VScrollBarName);
            FScrollBar->SetSkinData(FSD);
            FScrollBar->OnChange = [this](gui::TObject*) {
                if (FListBox->Columns() >= 1)
                    SendMessage(FListBox->Handle(), WM_HSCROLL,
                                MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(FScrollBar->Position())), 0);
                else
                    FListBox->SetTopIndex(FScrollBar->Position());
            };
            FScrollBar->SetParent(this);
            created = true;
            if (FHScrollBar) SetUpHScrollBar();
        }
        int barPage = columns >= 1 ? columns : std::max(page, 1);
        FScrollBar->SetRange(min, max, barPage, pos);
        FScrollBar->SetLargeChange(barPage);
        if (created) {
            FScrollBar->SetVisible(true);
            CalcRects();
            Invalidate();
        }
    } else if (FScrollBar) {
        FScrollBar.reset();
        if (FHScrollBar) SetUpHScrollBar();
        CalcRects();
    }
    FUpdating = false;
}

// --- skin ----------------------------------------------------------------------------------

void TbsSkinCustomListBox::GetSkinData() {
    TbsSkinCustomControl::GetSkinData();
    auto* d = dynamic_cast<TbsDataSkinListBox*>(Descriptor());
    if (!d || FIndex == -1) return;
    FontName = d->FontName;
    FontStyle = d->FontStyle;
    FontHeight = d->FontHeight;
    FontColor = d->FontColor;
    ActiveFontColor = d->ActiveFontColor;
    FocusFontColor = d->FocusFontColor;
    SItemRect = d->SItemRect;
    ActiveItemRect = Empty(d->ActiveItemRect) ? d->SItemRect : d->ActiveItemRect;
    FocusItemRect = Empty(d->FocusItemRect) ? d->SItemRect : d->FocusItemRect;
    ItemLeftOffset = d->ItemLeftOffset;
    ItemRightOffset = d->ItemRightOffset;
    ItemTextRect = d->ItemTextRect;
    CaptionRect = d->CaptionRect;
    UpButtonRect = d->UpButtonRect;
    ActiveUpButtonRect = d->ActiveUpButtonRect;
    DownUpButtonRect = Empty(d->DownUpButtonRect) ? d->ActiveUpButtonRect : d->DownUpButtonRect;
    DownButtonRect = d->DownButtonRect;
    ActiveDownButtonRect = d->ActiveDownButtonRect;
    DownDownButtonRect = Empty(d->DownDownButtonRect) ? d->ActiveDownButtonRect : d->DownDownButtonRect;
    CheckButtonRect = d->CheckButtonRect;
    ActiveCheckButtonRect = d->ActiveCheckButtonRect;
    DownCheckButtonRect = Empty(d->DownCheckButtonRect) ? d->ActiveCheckButtonRect : d->DownCheckButtonRect;
    VScrollBarName = d->VScrollBarName;
    HScrollBarName = d->HScrollBarName;
    BothScrollBarName = d->BothScrollBarName;
    CaptionFontName = d->CaptionFontName;
    CaptionFontHeight = d->CaptionFontHeight;
    CaptionFontStyle = d->CaptionFontStyle;
    CaptionFontColor = d->CaptionFontColor;
    ShowFocus = d->ShowFocus;
}

void TbsSkinCustomListBox::ChangeSkinData() {
    TbsSkinCustomControl::ChangeSkinData();
    GetSkinData();
    // The sideways bar is made again for the new skin.
    FStopUpDateHScrollBar = true;
    if (FIndex == -1) {
        ApplyItemHeight(FDefaultItemHeight);
        Font()->Assign(DefaultFont());
    } else if (UseSkinItemHeight) {
        ApplyItemHeight(SItemRect.Height());
    }
    if (FScrollBar) {
        FScrollBar->SetSkinDataName(FIndex == -1 ? "" : VScrollBarName);
        FScrollBar->SetSkinData(FSD);
        FScrollBar->ChangeSkinData();
    }
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    CalcRects();
    UpDateScrollBar();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    FListBox->Invalidate();
}

void TbsSkinCustomListBox::DefaultFontChanged() {
    if (FIndex == -1) Font()->Assign(DefaultFont());
}

// --- painting ------------------------------------------------------------------------------

void TbsSkinCustomListBox::PaintListBackground(gui::TCanvas* C, const gui::TRect& R) {
    GetSkinData();
    if (FIndex == -1 || !Picture) {
        C->Brush()->SetColor(gui::clWindow);
        C->FillRect(R);
        return;
    }
    TRect piece{SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                SkinRect.Top + ClRect.Bottom};
    int pw = piece.Width(), ph = piece.Height();
    if (pw <= 0 || ph <= 0) return;
    gui::TBitmap b;
    b.SetSize(gui::RectWidth(R), gui::RectHeight(R));
    for (int x = 0; x < b.Width(); x += pw)
        for (int y = 0; y < b.Height(); y += ph)
            b.Canvas()->CopyRect({x, y, x + pw, y + ph}, Picture->Canvas(), ToGuiRect(piece));
    C->Draw(R.left, R.top, &b);
}

void TbsSkinCustomListBox::DrawRow(gui::TCanvas* C, int Index, const gui::TRect& R,
                                   gui::TOwnerDrawState State) {
    if (Index < 0 || Index >= FListBox->Count()) return;
    int w = gui::RectWidth(R), h = gui::RectHeight(R);
    if (w <= 0 || h <= 0) return;
    GetSkinData();
    bool selected = State & gui::odSelected, focused = State & gui::odFocused;
    gui::TBitmap b;
    b.SetSize(w, h);
    gui::TCanvas* c = b.Canvas();
    gui::TRect text{2, 0, w - 2, h};
    if (FIndex == -1 || !Picture) {
        c->Font()->Assign(Font());
        c->Brush()->SetColor(selected ? gui::clHighlight : gui::clWindow);
        if (selected) c->Font()->SetColor(gui::clHighlightText);
        c->FillRect({0, 0, w, h});
        if (focused) c->DrawFocusRect({0, 0, w, h});
    } else {
        text = ToGuiRect(ItemTextRect);
        text.right += w - SItemRect.Width();
        if (UseSkinItemHeight) {
            TRect src = focused && selected ? FocusItemRect : selected ? ActiveItemRect : SItemRect;
            BuildHorzThreePartImage(ItemLeftOffset, ItemRightOffset, &b, Picture, src, w, h, false);
        } else {
            // Any row height: nine parts around the text rectangle.
            TRect src = focused ? FocusItemRect : selected ? ActiveItemRect : SItemRect;
            TRect client = ItemTextRect;
            if (client.Width() > 2 && client.Height() > 2)
                client = {client.Left + 1, client.Top + 1, client.Right - 1, client.Bottom - 1};
            BuildImageByClientRect(&b, Picture, src, client, true);
            text.bottom += h - SItemRect.Height();
        }
        if (UseSkinFont) {
            c->Font()->SetName(FontName);
            c->Font()->SetStyle(FontStyle);
            c->Font()->SetHeight(FontHeight);
        } else {
            c->Font()->Assign(DefaultFont());
        }
        c->Font()->SetColor(focused && selected ? FocusFontColor : selected ? ActiveFontColor : FontColor);
        if (focused && ShowFocus && !OnDrawItem) DrawDottedFocusRect(c, {0, 0, w, h});
    }
    ApplyCharset(c->Font(), DefaultFont());
    c->Brush()->SetStyle(gui::bsClear);
    if (OnDrawItem) {
        OnDrawItem(c, Index, w, h, text, State);
    } else {
        int shift = FListBox->HorizontalExtentValue, offset = 0;
        if (FImages) {
            int image = FImageIndex >= 0 ? FImageIndex : Index;
            if (image < FImages->Count())
                FImages->Draw(c, text.left - shift,
                              gui::RectHeight(text) / 2 + text.top - FImages->Height() / 2, image, Enabled());
            offset = FImages->Width() + 2;
        }
        std::string s = FListBox->Items()->Strings(Index);
        std::vector<int> stops = TabStops();
        if (!stops.empty() && FListBox->Columns() < 1) {
            int th = c->TextHeight(s);
            TabbedTextOut(c->Handle(), text.left + offset + 2, text.top + gui::RectHeight(text) / 2 - th / 2,
                          s.c_str(), static_cast<int>(s.size()), static_cast<int>(stops.size()), stops.data(),
                          0);
        } else {
            gui::TRect t = text;
            OffsetRect(&t, offset - shift, 0);
            TextOutVCenterOffset(c, s, t, 2);
        }
    }
    C->Draw(R.left, R.top, &b);
}

void TbsSkinCustomListBox::CreateControlDefaultImage(gui::TBitmap* B) {
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    gui::TCanvas* c = B->Canvas();
    int W = Width();
    int S = FCaptionMode && FShowCaptionButtons ? std::min(17, FDefaultCaptionHeight - 3) : 0;
    Buttons[0].R = {W - S - 2, 2, W - 2, S + 1};
    Buttons[1].R = {Buttons[0].R.left - S, 2, Buttons[0].R.left, S + 1};
    Buttons[2].R = {Buttons[1].R.left - S, 2, Buttons[1].R.left, S + 1};
    c->Brush()->SetColor(gui::clBtnShadow);
    c->FrameRect({0, 0, W, Height()});
    if (!FCaptionMode) return;
    gui::TRect cap{3, 2, FShowCaptionButtons ? W - 3 * S - 3 : W - 2, FDefaultCaptionHeight - 2};
    c->Font()->Assign(DefaultFont());
    ApplyCharset(c->Font(), DefaultFont());
    int ty = (FDefaultCaptionHeight - 2) / 2 - c->TextHeight(Text()) / 2;
    int gy = FGlyph ? gui::RectHeight(cap) / 2 + cap.top - FGlyph->Height() / 2 - 1 : 0;
    DrawCaption(c, cap, ty, gy);
    c->Pen()->SetColor(gui::clBtnShadow);
    c->MoveTo(1, FDefaultCaptionHeight - 1);
    c->LineTo(W - 1, FDefaultCaptionHeight - 1);
    if (FShowCaptionButtons)
        for (int i = 0; i < 3; ++i) DrawButton(c, i);
}

void TbsSkinCustomListBox::CreateControlSkinImage(gui::TBitmap* B) {
    TbsSkinCustomControl::CreateControlSkinImage(B);
    int dW = Width() - SkinRect.Width(), dH = Height() - SkinRect.Height();
    const TRect* rects[3] = {&UpButtonRect, &DownButtonRect, &CheckButtonRect};
    for (int i = 0; i < 3; ++i) {
        Buttons[i].R = {};
        if (!FCaptionMode || !FShowCaptionButtons || Empty(*rects[i])) continue;
        gui::TRect r = ToGuiRect(*rects[i]);
        if (r.top >= LTPt.Y && LTPt.Y > 0) {
            r.top += dH;
            r.bottom += dH;
        }
        if (r.left >= RTPt.X) {
            r.left += dW;
            r.right += dW;
        }
        Buttons[i].R = r;
    }
    if (FCaptionMode && !Empty(CaptionRect)) {
        gui::TRect cap = ToGuiRect(CaptionRect);
        if (!FShowCaptionButtons)
            cap.right = Width() - cap.left;
        else if (CaptionRect.Right >= RTPt.X)
            cap.right += dW;
        gui::TCanvas* c = B->Canvas();
        c->Font()->SetName(CaptionFontName);
        c->Font()->SetHeight(CaptionFontHeight);
        c->Font()->SetStyle(CaptionFontStyle);
        c->Font()->SetColor(CaptionFontColor);
        ApplyCharset(c->Font(), DefaultFont());
        int ty = gui::RectHeight(cap) / 2 + cap.top - c->TextHeight(Text()) / 2;
        int gy = FGlyph ? gui::RectHeight(cap) / 2 + cap.top - FGlyph->Height() / 2 : 0;
        // The skinned caption keeps 2 pixels from the sides.
        cap.left += 2;
        cap.right -= 2;
        DrawCaption(c, cap, ty, gy);
    }
    if (FCaptionMode && FShowCaptionButtons)
        for (int i = 0; i < 3; ++i) DrawButton(B->Canvas(), i);
}

// The caption text with its glyph in front, placed by Alignment and clipped to R.
void TbsSkinCustomListBox::DrawCaption(gui::TCanvas* C, gui::TRect R, int TextY, int GlyphY) {
    std::string caption = Text();
    int glyphWidth = FGlyph ? FGlyph->Width() / FNumGlyphs : 0;
    int w = C->TextWidth(caption) + (FGlyph ? glyphWidth + FSpacing : 0);
    int x = FAlignment == gui::taRightJustify ? R.right - w
            : FAlignment == gui::taCenter     ? R.left + gui::RectWidth(R) / 2 - w / 2
                                              : R.left;
    if (FGlyph) {
        DrawStripGlyph(C, x, GlyphY, FGlyph.get(), FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
        x += glyphWidth + FSpacing;
    }
    C->Brush()->SetStyle(gui::bsClear);
    C->TextRect(R, x, TextY, caption);
}

void TbsSkinCustomListBox::DrawButton(gui::TCanvas* C, int i) {
    const TbsCBButtonX& b = Buttons[i];
    if (gui::RectWidth(b.R) <= 0 || gui::RectHeight(b.R) <= 0) return;
    if (FIndex == -1 || !Picture) {
        gui::TColor fill = b.Down && b.MouseIn ? RGB(133, 147, 181)
                           : b.MouseIn         ? RGB(182, 189, 210)
                                               : gui::clBtnFace;
        C->Brush()->SetColor(fill);
        C->FillRect(b.R);
        if (b.MouseIn) {
            C->Brush()->SetColor(kNavy);
            C->FrameRect(b.R);
        }
        if (i == 2)
            DrawCheckGlyph(C, b.R.left + 4, b.R.top + 4, gui::clBlack);
        else
            DrawArrow(C, b.R, gui::clBlack, i == 0 ? 3 : 4);
        return;
    }
    const TRect normal[3] = {UpButtonRect, DownButtonRect, CheckButtonRect};
    const TRect active[3] = {ActiveUpButtonRect, ActiveDownButtonRect, ActiveCheckButtonRect};
    const TRect down[3] = {DownUpButtonRect, DownDownButtonRect, DownCheckButtonRect};
    TRect src{};
    if (b.Down && b.MouseIn) src = down[i];
    if (Empty(src) && b.MouseIn) src = active[i];
    if (Empty(src)) {
        src = normal[i];
        src = {src.Left + SkinRect.Left, src.Top + SkinRect.Top, src.Right + SkinRect.Left,
               src.Bottom + SkinRect.Top};
    }
    C->CopyRect({b.R.left, b.R.top, b.R.left + src.Width(), b.R.top + src.Height()}, Picture->Canvas(),
                ToGuiRect(src));
}

// --- caption buttons -----------------------------------------------------------------------

void TbsSkinCustomListBox::StopTimer() {
    if (FTimerOn && HandleAllocated()) KillTimer(Handle(), kRepeatTimer);
    FTimerOn = false;
}

// The step of a held or released button.  Down stops at the last row: a step past it would
// leave the list without a selection.
void TbsSkinCustomListBox::ButtonStep(int i) {
    int index = ItemIndex();
    if (i == 0 && index >= 1) SetItemIndex(index - 1);
    if (i == 1 && index < FListBox->Count() - 1) SetItemIndex(index + 1);
}

void TbsSkinCustomListBox::TestActive(int X, int Y) {

    if (!FCaptionMode || !FShowCaptionButtons) return;
    if (FIndex != -1 && Empty(UpButtonRect) && Empty(DownButtonRect)) return;
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 3; ++i)
        if (Inside(Buttons[i].R, X, Y)) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) {
        Buttons[OldActiveButton].MouseIn = false;
        if (TimerMode != 0 && Buttons[OldActiveButton].Down) StopTimer();
    }
    if (ActiveButton != -1) {
        Buttons[ActiveButton].MouseIn = true;
        if (TimerMode != 0 && Buttons[ActiveButton].Down) {
            SetTimer(Handle(), kRepeatTimer, kBackOn, nullptr);
            FTimerOn = true;
        }
    }
    Invalidate();
}

void TbsSkinCustomListBox::MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != gui::mbLeft) return;
    TestActive(X, Y);
    if (ActiveButton == -1) return;
    int i = ActiveButton;
    CaptureButton = i;
    Buttons[i].Down = Buttons[i].MouseIn = true;
    Invalidate();
    const gui::TNotifyEvent* own[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (*own[i] || i == 2) return;
    TimerMode = i + 1;
    WaitMode = true;
    SetTimer(Handle(), kRepeatTimer, kFirstDelay, nullptr);
    FTimerOn = true;
}

void TbsSkinCustomListBox::MouseMove(gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsSkinCustomListBox::MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
    int i = CaptureButton;
    CaptureButton = -1;
    if (i == -1) return;
    Buttons[i].Down = false;
    bool over = Inside(Buttons[i].R, X, Y);
    if (!over) Buttons[i].MouseIn = false;
    Invalidate();
    const gui::TNotifyEvent* own[3] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
    if (over && *own[i]) {
        (*own[i])(this);
    } else if (i == 2) {
        FListBox->Click();
    } else {
        ButtonStep(i);
    }
    StopTimer();
    TimerMode = 0;
}

void TbsSkinCustomListBox::CMMouseLeave(gui::TMessage& m) {
    TbsSkinCustomControl::CMMouseLeave(m);
    bool any = false;
    for (auto& b : Buttons)
        if (b.MouseIn) {
            b.MouseIn = false;
            any = true;
        }
    // Leaving the frame (also into the inner list) is moving off the held button.
    if (ActiveButton != -1 && TimerMode != 0 && Buttons[ActiveButton].Down) StopTimer();
    ActiveButton = -1;
    if (any) Invalidate();
}

void TbsSkinCustomListBox::Dispatch(gui::TMessage& m) {
    if (m.Msg == WM_TIMER && m.WParam == kRepeatTimer) {
        if (WaitMode) {
            WaitMode = false;
            SetTimer(Handle(), kRepeatTimer, kRepeat, nullptr);
            return;
        }
        if (TimerMode != 0) ButtonStep(TimerMode - 1);
        return;
    }
    if (m.Msg == gui::CM_TEXTCHANGED && FCaptionMode) Invalidate();
    TbsSkinCustomControl::Dispatch(m);
}

// --- forwards ------------------------------------------------------------------------------

void TbsSkinCustomListBox::ListBoxMouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseDown) OnListBoxMouseDown(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseMove(gui::TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseMove) OnListBoxMouseMove(this, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxMouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    if (OnListBoxMouseUp) OnListBoxMouseUp(this, Button, Shift, X, Y);
}

void TbsSkinCustomListBox::ListBoxClick() {
    if (OnListBoxClick) OnListBoxClick(this);
}

void TbsSkinCustomListBox::ListBoxDblClick() {
    if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TbsSkinCustomListBox::ListBoxKeyDown(WORD& Key, gui::TShiftState Shift) {
    if (OnListBoxKeyDown) OnListBoxKeyDown(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyUp(WORD& Key, gui::TShiftState Shift) {
    if (OnListBoxKeyUp) OnListBoxKeyUp(this, Key, Shift);
}

void TbsSkinCustomListBox::ListBoxKeyPress(char32_t& Key) {
    if (OnListBoxKeyPress) OnListBoxKeyPress(this, Key);
}

void TbsSkinCustomListBox::ListBoxWndProc(gui::TMessage& m, bool& Continue) {
    Continue = true;
    // An empty list paints its background into a device context on request.
    if (m.Msg == 48202 && m.LParam == 16802 && FListBox->Count() == 0) {
        if (m.WParam) {
            gui::TCanvas c;
            c.SetHandle(reinterpret_cast<HDC>(m.WParam));
            PaintListBackground(&c, {0, 0, FListBox->Width(), FListBox->Height()});
            c.SetHandle(nullptr);
        }
        m.Result = 16802;
        Continue = false;
    } else if (m.Msg == 45513) {
        m.Result = 12851;
        Continue = false;
    }
}

} // namespace skin

#include "skin/engine/DrawUtils.h"

#include "gdi/Dc.h"
#include "gdi/DcStateSaver.h"
#include "gdi/DcText.h"
#include "gui/Forms.h"
#include "gui/Messages.h"
#include "gui/Streams.h"
#include "gui/SysUtils.h"
#include "win/Messages.h"
#include "win/System.h"

#include <algorithm>
#include <set>
#include <utility>

namespace skin {

namespace {

// The canvas's DC with its font (pen, brush) selected, as its own drawing gets it.
struct CanvasAccess : gui::TCanvas {
    static HDC With(gui::TCanvas* c, uint8_t needs) { return (c->*(&CanvasAccess::Prepare))(needs); }
    static HDC Font(gui::TCanvas* c) { return With(c, NeedFont); }
    static HDC FontBrush(gui::TCanvas* c) { return With(c, NeedFont | NeedBrush); }
};

struct PaintAccess : gui::TWinControl {
    static void PaintWindowOf(gui::TWinControl* c, HDC dc) { (c->*(&PaintAccess::PaintWindow))(dc); }
};

void HLine(gui::TCanvas* c, int x0, int x1, int y) {
    c->MoveTo(x0, y);
    c->LineTo(x1 + 1, y);
}

void VLine(gui::TCanvas* c, int x, int y0, int y1) {
    c->MoveTo(x, y0);
    c->LineTo(x, y1 + 1);
}

void PenIn(gui::TCanvas* c, gui::TColor color) {
    c->Pen()->SetColor(color);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(gui::psSolid);
}

void Outline(gui::TCanvas* c, int l, int t, int r, int b) {
    c->Brush()->SetStyle(gui::bsClear);
    c->Rectangle(l, t, r, b);
}

void Filled(gui::TCanvas* c, gui::TColor color, int l, int t, int r, int b) {
    PenIn(c, color);
    c->Brush()->SetStyle(gui::bsSolid);
    c->Brush()->SetColor(color);
    c->Rectangle(l, t, r, b);
}

// Drops the last character (not byte) of UTF-8 text.
void DropLastChar(std::string& s) {
    if (s.empty()) return;
    size_t i = s.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
    s.erase(i);
}

template <class Width> void TrimToWidth(std::string& s, int maxWidth, Width width) {
    if (width(s) <= maxWidth) return;
    do {
        DropLastChar(s);
        if (width(s + "...") <= maxWidth) break;
    } while (!s.empty());
    s += "...";
}

} // namespace

// ---- text ----

int DrawWideText(gui::TCanvas* Canvas, const std::string& Text, gui::TRect& R, UINT Flags) {
    HDC dc = CanvasAccess::FontBrush(Canvas);
    if (!dc) return 0;
    return DrawText(dc, Text.c_str(), static_cast<int>(Text.size()), &R, Flags);
}

int WideTextWidth(gui::TCanvas* Canvas, const std::string& Text) {
    gui::TRect r{};
    DrawWideText(Canvas, Text, r, DT_CALCRECT);
    return r.right - r.left;
}

int WideTextHeight(gui::TCanvas* Canvas, const std::string& Text) {
    gui::TRect r{};
    DrawWideText(Canvas, Text, r, DT_CALCRECT);
    return r.bottom - r.top;
}

void TrimWideTextToWidth(gui::TCanvas* Canvas, std::string& S, int MaxWidth) {
    TrimToWidth(S, MaxWidth, [&](const std::string& t) { return WideTextWidth(Canvas, t); });
}

void TrimTextToWidth(gui::TCanvas* Canvas, std::string& S, int MaxWidth) {
    TrimToWidth(S, MaxWidth, [&](const std::string& t) { return Canvas->TextWidth(t); });
}

void DrawTextVCenter(gui::TCanvas* Canvas, const std::string& Text, const gui::TRect& R) {
    if (Text.empty()) return;
    gui::TRect r = R;
    DrawWideText(Canvas, Text, r, DT_SINGLELINE | DT_VCENTER);
}

void TextOutVCenterOffset(gui::TCanvas* Canvas, const std::string& Text, const gui::TRect& R, int Offset) {
    if (Text.empty()) return;
    int y = R.top + (R.bottom - R.top) / 2 - Canvas->TextHeight(Text) / 2;
    Canvas->TextRect(R, R.left + Offset + 2, y, Text);
}

void TextOutVCenter(gui::TCanvas* Canvas, const std::string& Text, const gui::TRect& R) {
    TextOutVCenterOffset(Canvas, Text, R, 0);
}

// ---- image and caption ----

TbsImageTextPlace CalcImageTextLayout(TbsButtonLayout Layout, const gui::TRect& R, int gw, int gh, int tw,
                                      int th, int Spacing, int Margin) {
    if (gw == 0) Spacing = 0;
    int cx = R.left + (R.right - R.left) / 2, cy = R.top + (R.bottom - R.top) / 2;
    TbsImageTextPlace p;
    if (Margin == -1) {
        int hw = (tw + gw + Spacing) / 2, hh = (th + gh + Spacing) / 2;
        switch (Layout) {
        case TbsButtonLayout::blGlyphLeft:
            p = {cx + hw - tw, cy - th / 2, cx - hw, cy - gh / 2};
            break;
        case TbsButtonLayout::blGlyphRight:
            p = {cx - hw, cy - th / 2, cx + hw - gw, cy - gh / 2};
            break;
        case TbsButtonLayout::blGlyphTop:
            p = {cx - tw / 2, cy + hh - th, cx - gw / 2, cy - hh};
            break;
        case TbsButtonLayout::blGlyphBottom:
            p = {cx - tw / 2, cy - hh, cx - gw / 2, cy + hh - gh};
            break;
        }
        return p;
    }
    switch (Layout) {
    case TbsButtonLayout::blGlyphLeft:
        p.GlyphX = R.left + Margin, p.GlyphY = cy - gh / 2;
        p.TextX = p.GlyphX + gw + Spacing, p.TextY = cy - th / 2;
        break;
    case TbsButtonLayout::blGlyphRight:
        p.GlyphX = R.right - gw - Margin, p.GlyphY = cy - gh / 2;
        p.TextX = p.GlyphX - Spacing - tw, p.TextY = cy - th / 2;
        break;
    case TbsButtonLayout::blGlyphTop:
        p.GlyphX = cx - gw / 2, p.GlyphY = R.top + Margin;
        p.TextX = cx - tw / 2, p.TextY = p.GlyphY + gh + Spacing;
        break;
    case TbsButtonLayout::blGlyphBottom:
        p.GlyphX = cx - gw / 2, p.GlyphY = R.bottom - gh - Margin;
        p.TextX = cx - tw / 2, p.TextY = p.GlyphY - Spacing - th;
        break;
    }
    return p;
}

namespace {

struct Glyph {
    int w = 0, h = 0;
    std::function<void(gui::TCanvas*, int, int)> draw;
};

// The text's size for the layout: measured word-wrapped in R less the glyph on its side.
void MeasureCaption(gui::TCanvas* c, const std::string& caption, const gui::TRect& R, TbsButtonLayout layout,
                    const Glyph& g, int& tw, int& th) {
    tw = th = 0;
    if (caption.empty()) return;
    gui::TRect r = gui::Rect(0, 0, R.right - R.left, R.bottom - R.top);
    if (layout == TbsButtonLayout::blGlyphLeft || layout == TbsButtonLayout::blGlyphRight)
        r.right -= g.w;
    else
        r.bottom -= g.h;
    DrawWideText(c, caption, r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    tw = r.right - r.left, th = r.bottom - r.top;
}

void ColorBarLines(gui::TCanvas* c, gui::TColor color, int x0, int x1, int y0) {
    PenIn(c, color);
    for (int k = 0; k < 3; ++k) HLine(c, x0, x1, y0 + k);
}

void DrawLaidOut(gui::TCanvas* c, const gui::TRect& R, int margin, int spacing, TbsButtonLayout layout,
                 const std::string& caption, const Glyph& g, bool pressed, bool bar, gui::TColor barColor,
                 bool centred, bool clearAlways, const gui::TRect& swatch) {
    int tw, th;
    MeasureCaption(c, caption, R, layout, g, tw, th);
    if (clearAlways || !caption.empty()) c->Brush()->SetStyle(gui::bsClear);
    TbsImageTextPlace p = CalcImageTextLayout(layout, R, g.w, g.h, tw, th, spacing, margin);
    if (pressed) ++p.TextX, ++p.TextY, ++p.GlyphX, ++p.GlyphY;
    gui::TRect tr = gui::Rect(p.TextX, p.TextY, p.TextX + tw + 2, p.TextY + th);
    if (!caption.empty()) {
        UINT flags = DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | (centred ? DT_CENTER : 0);
        DrawWideText(c, caption, tr, flags);
    }
    bool glyph = g.w > 0 && g.h > 0;
    if (glyph) {
        g.draw(c, p.GlyphX, p.GlyphY);
        if (bar) ColorBarLines(c, barColor, p.GlyphX, p.GlyphX + g.w - 1, p.GlyphY + g.h - 2);
    } else if (bar) {
        if (!caption.empty()) {
            ColorBarLines(c, barColor, tr.left, tr.right - 1, tr.bottom - 1);
        } else {
            c->Brush()->SetStyle(gui::bsSolid);
            c->Brush()->SetColor(barColor);
            c->FillRect(swatch);
        }
    }
}

Glyph ImageGlyph(int index, gui::TCustomImageList* images, bool enabled) {
    Glyph g;
    if (images && index >= 0 && index < images->Count()) {
        g.w = images->Width(), g.h = images->Height();
        g.draw = [=](gui::TCanvas* c, int x, int y) { images->Draw(c, x, y, index, enabled); };
    }
    return g;
}

} // namespace

void DrawImageAndText(gui::TCanvas* Canvas, const gui::TRect& R, int Margin, int Spacing,
                      TbsButtonLayout Layout, const std::string& Caption, int ImageIndex,
                      gui::TCustomImageList* Images, bool Pressed, bool Enabled, bool DrawColorBar,
                      gui::TColor ColorBarColor) {
    DrawLaidOut(Canvas, R, Margin, Spacing, Layout, Caption, ImageGlyph(ImageIndex, Images, Enabled), Pressed,
                DrawColorBar, ColorBarColor, true, true,
                gui::Rect(R.left + 4, R.top + 4, R.right - 2, R.bottom - 4));
}

void DrawImageAndTextLeft(gui::TCanvas* Canvas, const gui::TRect& R, int Margin, int Spacing,
                          TbsButtonLayout Layout, const std::string& Caption, int ImageIndex,
                          gui::TCustomImageList* Images, bool Pressed, bool Enabled, bool DrawColorBar,
                          gui::TColor ColorBarColor) {
    DrawLaidOut(Canvas, R, Margin, Spacing, Layout, Caption, ImageGlyph(ImageIndex, Images, Enabled), Pressed,
                DrawColorBar, ColorBarColor, false, true,
                gui::Rect(R.left + 4, R.top + 4, R.right - 2, R.bottom - 4));
}

void DrawGlyphAndText(gui::TCanvas* Canvas, const gui::TRect& R, int Margin, int Spacing,
                      TbsButtonLayout Layout, const std::string& Caption, gui::TBitmap* Glyph, int NumGlyphs,
                      int GlyphNum, bool Pressed, bool DrawColorBar, gui::TColor ColorBarColor) {
    struct Glyph g;
    if (Glyph && !Glyph->Empty() && NumGlyphs > 0) {
        g.w = Glyph->Width() / NumGlyphs, g.h = Glyph->Height();
        g.draw = [=](gui::TCanvas* c, int x, int y) { DrawStripGlyph(c, x, y, Glyph, NumGlyphs, GlyphNum); };
    }
    gui::TRect swatch = Pressed ? gui::Rect(R.left + 4, R.top + 5, R.right - 2, R.bottom - 3)
                                : gui::Rect(R.left + 4, R.top + 4, R.right - 2, R.bottom - 4);
    DrawLaidOut(Canvas, R, Margin, Spacing, Layout, Caption, g, Pressed, DrawColorBar, ColorBarColor, true,
                false, swatch);
}

void DrawStripGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TBitmap* Glyph, int NumGlyphs, int GlyphNum) {
    if (!Glyph || Glyph->Empty() || NumGlyphs <= 0) return;
    int fw = Glyph->Width() / NumGlyphs, h = Glyph->Height();
    if (fw <= 0) return;
    gui::TBitmap frame;
    frame.SetSize(fw, h);
    int left = (GlyphNum - 1) * fw;
    frame.Canvas()->CopyRect(gui::Rect(0, 0, fw, h), Glyph->Canvas(), gui::Rect(left, 0, left + fw, h));
    frame.TransparentMode = gui::tmFixed;
    frame.SetTransparentColor(frame.Canvas()->Pixels(0, h - 1));
    frame.SetTransparent(true);
    Canvas->Draw(X, Y, &frame);
}

// ---- glyphs ----

void DrawDropDownArrow(gui::TCanvas* Canvas, const gui::TRect& R, gui::TColor Color) {
    int cx = R.left + (R.right - R.left) / 2, cy = R.top + (R.bottom - R.top) / 2;
    PenIn(Canvas, Color);
    HLine(Canvas, cx - 2, cx + 2, cy);
    HLine(Canvas, cx - 1, cx + 1, cy + 1);
    HLine(Canvas, cx, cx, cy + 2);
}

void DrawArrow(gui::TCanvas* Canvas, const gui::TRect& R, gui::TColor Color, int Direction) {
    int cx = R.left + (R.right - R.left) / 2, cy = R.top + (R.bottom - R.top) / 2;
    PenIn(Canvas, Color);
    static const int up[] = {1, 3, 5, 7}, down[] = {7, 5, 3, 1};
    switch (Direction) {
    case 1:
        for (int k = 0; k < 4; ++k) VLine(Canvas, cx - 2 + k, cy - up[k] / 2, cy + up[k] / 2);
        break;
    case 2:
        for (int k = 0; k < 4; ++k) VLine(Canvas, cx - 1 + k, cy - down[k] / 2, cy + down[k] / 2);
        break;
    case 3:
        for (int k = 0; k < 4; ++k) HLine(Canvas, cx - up[k] / 2, cx + up[k] / 2, cy - 2 + k);
        break;
    case 4:
        for (int k = 0; k < 4; ++k) HLine(Canvas, cx - down[k] / 2, cx + down[k] / 2, cy - 1 + k);
        break;
    default:
        break;
    }
}

void DrawRadioDot(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    Filled(Canvas, Color, X, Y, X + 6, Y + 6);
}

void DrawCheckGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    for (int k = 0; k < 3; ++k) {
        Canvas->MoveTo(X, Y + 5 - k);
        Canvas->LineTo(X + 2, Y + 7 - k);
        Canvas->LineTo(X + 7, Y + 2 - k);
    }
}

void DrawCloseGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    static const int lines[4][4] = {
        {1, 1, 9,  9},
        {9, 1, 1,  9},
        {2, 1, 10, 9},
        {8, 1, 0,  9}
    };
    for (const auto& l : lines) {
        Canvas->MoveTo(X + l[0], Y + l[1]);
        Canvas->LineTo(X + l[2], Y + l[3]);
    }
}

void DrawSysMenuGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    Outline(Canvas, X + 1, Y + 3, X + 9, Y + 6);
}

void DrawMinimizeGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    HLine(Canvas, X + 1, X + 8, Y + 8);
    HLine(Canvas, X + 1, X + 8, Y + 9);
}

void DrawMaximizeGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    Outline(Canvas, X, Y, X + 11, Y + 10);
    Outline(Canvas, X, Y, X + 11, Y + 2);
}

void DrawRestoreGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    Outline(Canvas, X + 2, Y, X + 10, Y + 6);
    Outline(Canvas, X + 2, Y, X + 10, Y + 2);
    Outline(Canvas, X, Y + 4, X + 7, Y + 10);
    Outline(Canvas, X, Y + 4, X + 7, Y + 6);
}

void DrawRollDownGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    for (int k = 0; k < 4; ++k) HLine(Canvas, X + 1 + k, X + 8 - k, Y + 2 + k);
}

void DrawRollUpGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    PenIn(Canvas, Color);
    for (int k = 0; k < 4; ++k) HLine(Canvas, X + 1 + k, X + 8 - k, Y + 6 - k);
}

void DrawTrayGlyph(gui::TCanvas* Canvas, int X, int Y, gui::TColor Color) {
    Filled(Canvas, Color, X + 2, Y + 2, X + 7, Y + 7);
}

void DrawDottedFocusRect(gui::TCanvas* Canvas, const gui::TRect& R) {
    int l = R.left, t = R.top, r = R.right - 1, b = R.bottom - 1;
    if (r < l || b < t) return;
    std::vector<std::pair<int, int>> path;
    for (int x = l; x <= r; ++x) path.emplace_back(x, t);
    for (int y = t; y <= b; ++y) path.emplace_back(r, y);
    for (int x = r; x >= l; --x) path.emplace_back(x, b);
    for (int y = b; y >= t; --y) path.emplace_back(l, y);
    bool on = !((r - l) % 2 == 0 && (b - t) % 2 == 0);
    gui::TColor color = Canvas->Font()->Color();
    std::set<std::pair<int, int>> seen;
    for (const auto& p : path) {
        if (seen.insert(p).second && on) Canvas->SetPixels(p.first, p.second, color);
        on = !on;
    }
}

// ---- the parent's background ----

namespace {

void PaintUnder(gui::TControl* C, gui::TCanvas* K, int dx, int dy) {
    if (!C || !C->Parent()) return;
    gui::TWinControl* P = C->Parent();
    HDC dc = K->Handle();
    if (!dc) return;
    P->ControlState |= gui::csPaintCopy;
    POINT org;
    {
        gdi::DcStateSaver saved(dc);
        GetWindowOrgEx(dc, &org);
        SetWindowOrgEx(dc, org.x + C->Left() + dx, org.y + C->Top() + dy, nullptr);
        IntersectClipRect(dc, 0, 0, P->ClientWidth(), P->ClientHeight());
        P->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        if (!dynamic_cast<gui::TCustomForm*>(P)) PaintAccess::PaintWindowOf(P, dc);
    }
    gui::TRect cb = C->BoundsRect();
    for (int i = 0; i < P->ControlCount(); ++i) {
        gui::TControl* child = P->Controls(i);
        if (child == C) break;
        if (child->IsWindowed() || !child->Visible()) continue;
        gui::TRect b = child->BoundsRect(), x;
        if (!IntersectRect(&x, &b, &cb)) continue;
        child->ControlState |= gui::csPaintCopy;
        {
            gdi::DcStateSaver saved(dc);
            GetWindowOrgEx(dc, &org);
            SetWindowOrgEx(dc, org.x - (child->Left() - C->Left() - dx),
                           org.y - (child->Top() - C->Top() - dy), nullptr);
            IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
            child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        }
        child->ControlState &= ~gui::csPaintCopy;
    }
    P->ControlState &= ~gui::csPaintCopy;
}

} // namespace

void DrawParentBackground(gui::TControl* Control, gui::TCanvas* Canvas) {
    PaintUnder(Control, Canvas, 0, 0);
}

void DrawParentBackgroundRect(gui::TControl* Control, gui::TCanvas* Canvas, const gui::TRect& R) {
    PaintUnder(Control, Canvas, R.left, R.top);
}

// ---- rectangles ----

int RectWidth(const gui::TRect& R) {
    return R.right - R.left;
}
int RectHeight(const gui::TRect& R) {
    return R.bottom - R.top;
}
bool RectIsEmpty(const gui::TRect& R) {
    return RectWidth(R) <= 0 || RectHeight(R) <= 0;
}
bool SameRect(const gui::TRect& A, const gui::TRect& B) {
    return A == B;
}
void ClearRect(gui::TRect& R) {
    R = {};
}
bool IsPointInRect(const gui::TRect& R, gui::TPoint P) {
    return P.x >= R.left && P.x <= R.right && P.y >= R.top && P.y <= R.bottom;
}
bool IsRectInRect(const gui::TRect& A, const gui::TRect& B) {
    return PtInRect(&B, {A.left, A.top}) && PtInRect(&B, {A.right, A.bottom});
}
bool RectsOverlapVert(const gui::TRect& A, const gui::TRect& B) {
    return PtInRect(&B, {B.left + 1, A.top}) || PtInRect(&B, {B.right - 1, A.bottom});
}
bool PointHasZeroCoord(gui::TPoint P) {
    return P.x == 0 || P.y == 0;
}

// ---- monitors ----

bool IsMultiMonitorAvailable() {
    InitSkinEngine();
    return GetSystemMetrics(SM_CMONITORS) > 1 && bsEngine().Functions.MonitorFromWindow &&
           bsEngine().Functions.GetMonitorInfo;
}

void GetDesktopArea(bool WorkArea, gui::TRect& R) {
    if (WorkArea)
        SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    else
        R = gui::Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void GetMonitorArea(HWND Window, bool WorkArea, gui::TRect& R) {
    if (!IsMultiMonitorAvailable()) return GetDesktopArea(WorkArea, R);
    const TbsOptionalFunctions& f = bsEngine().Functions;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR m = f.MonitorFromWindow(Window, MONITOR_DEFAULTTONEAREST);
    if (m && f.GetMonitorInfo(m, &info)) R = WorkArea ? info.rcWork : info.rcMonitor;
}

bool SafeGetScrollBarInfo(HWND Window, LONG Object, TbsScrollBarInfo& Info) {
    InitSkinEngine();
    if (auto get = bsEngine().Functions.GetScrollBarInfo) return get(Window, Object, &Info) != 0;
    Info.rgstate[0] = 0x8000; // STATE_SYSTEM_INVISIBLE
    return false;
}

// ---- strings ----

std::u16string Utf8ToUtf16(const std::string& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        int n;
        if (c < 0x80)
            cp = c, n = 1;
        else if ((c >> 5) == 6)
            cp = c & 0x1F, n = 2;
        else if ((c >> 4) == 14)
            cp = c & 0x0F, n = 3;
        else if ((c >> 3) == 30)
            cp = c & 0x07, n = 4;
        else
            cp = 0xFFFD, n = 1;
        if (n > 1) {
            if (i + static_cast<size_t>(n) > s.size()) {
                cp = 0xFFFD, n = 1;
            } else {
                for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
            }
        }
        i += static_cast<size_t>(n);
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp > 0xFFFF ? 0xFFFD : cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[++i] - 0xDC00);
        else if (cp >= 0xD800 && cp < 0xE000)
            cp = 0xFFFD;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

void WriteStringToStream(gui::TStream& Stream, const std::string& S) {
    std::u16string w = Utf8ToUtf16(S);
    int32_t n = static_cast<int32_t>(w.size());
    Stream.WriteBuffer(&n, 4);
    for (char16_t c : w) {
        uint8_t b[2] = {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)};
        Stream.WriteBuffer(b, 2);
    }
}

void ReadStringFromStream(gui::TStream& Stream, std::string& S) {
    int32_t n = 0;
    Stream.ReadBuffer(&n, 4);
    // A length is input: never trust it beyond what the stream still holds.
    int64_t left = Stream.Size() - Stream.Position();
    if (n < 0 || static_cast<int64_t>(n) * 2 > left) throw gui::EReadError("Stream read error");
    std::vector<uint8_t> bytes(static_cast<size_t>(n) * 2);
    if (n > 0) Stream.ReadBuffer(bytes.data(), n * 2);
    std::u16string w(static_cast<size_t>(n), u'\0');
    for (int32_t i = 0; i < n; ++i)
        w[static_cast<size_t>(i)] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    S = Utf16ToUtf8(w);
}

void ExtractToken(std::string& S, std::string& Token) {
    static const std::string delimiters = " (),:;=";
    size_t i = 0;
    Token.clear();
    while (i < S.size() && delimiters.find(S[i]) == std::string::npos) Token += S[i++];
    if (i < S.size()) ++i; // the delimiter goes too
    S.erase(0, i);
    Token = gui::Trim(Token);
    S = gui::Trim(S);
}

void TextToRect(const std::string& S, gui::TRect& R) {
    std::string rest = S, token;
    int32_t v[4];
    for (int32_t& x : v) {
        ExtractToken(rest, token);
        if (!gui::TryStrToInt(token, x)) {
            R = {};
            return;
        }
    }
    R = {v[0], v[1], v[2], v[3]};
}

} // namespace skin

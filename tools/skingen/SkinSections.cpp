#include "SkinSections.h"

#include "MenuSections.h"
#include "SkinBuilder.h"
#include "SkinCanvas.h"

#include "skin/core/DataSkinControls.h"
#include "skin/core/DataSkinObjects.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace skingen {

using gdi::image::Image;
using skin::Point;
using skin::Rect;

namespace {

// The skins' default face; the platform maps it to WenQuanYi Micro Hei.
const char* const kFontName = "微软雅黑";
constexpr int kFontHeight = -12; // 12-pixel characters, by the Windows sign rule

template <class D> void SetFont(D& d, const Rgb& colour) {
    d.FontName = kFontName;
    d.FontHeight = kFontHeight;
    d.FontStyle = 0;
    d.FontColor = colour.Color();
}

// Nine-part geometry of a look of w x h whose corners are `corner` pixels: fixed corners,
// stretched edges and middle.
void SetNinePart(skin::TbsDataSkinCustomControl& d, int w, int h, int corner) {
    d.LTPoint = Point(corner, corner);
    d.RTPoint = Point(w - corner, corner);
    d.LBPoint = Point(corner, h - corner);
    d.RBPoint = Point(w - corner, h - corner);
    d.ClRect = Rect(corner, corner, w - corner, h - corner);
    d.LeftStretch = d.TopStretch = d.RightStretch = d.BottomStretch = true;
    d.StretchEffect = true;
    d.StretchType = skin::TbsStretchType::bsstFull;
}

// Copies the w x h rectangle at (sx, sy) of `from` to (dx, dy) of `to`.
void Copy(const Image& from, int sx, int sy, int w, int h, Image& to, int dx, int dy) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) to.At(dx + x, dy + y) = from.At(sx + x, sy + y);
}

bool Morphs(const SkinStyle& s) {
    return s.finish != Finish::Flat;
}

// A hot colour that can be seen also where lightness is at its end (white faces).
Rgb HotFace(const SkinStyle& s, const Rgb& face) {
    Rgb hot = s.Hover(face);
    return Rgb::Contrast(hot, face) < 1.04 ? face.Mix(s.accent, 0.14) : hot;
}

// --- the form frame, its caption and caption buttons ----------------------------------------

constexpr int kFrameW = 200, kFrameH = 120;
constexpr int kCaption = 28; // caption height, top border included
constexpr int kBorder = 4;   // sides and bottom
constexpr int kCapButtonW = 22, kCapButtonH = 18, kCapButtonGap = 2;
constexpr int kCapButtonTop = (kCaption - kCapButtonH) / 2;
constexpr int kCapButtonsW = 3 * kCapButtonW + 2 * kCapButtonGap;
constexpr int kCapButtonsRight = kFrameW - kBorder - 4;
// Close, maximise, minimise and roll-up run leftwards from the buttons' right edge; the
// caption ends before them, in the frame's fixed right part, so that it widens with the form.
constexpr int kCapRowW = 4 * kCapButtonW + 3 * kCapButtonGap;
constexpr int kCaptionRight = kCapButtonsRight - kCapRowW - kCapButtonGap;

// The frame of an active or inactive form: a crisp outer outline (the region's edge, so no
// pixel blends with what lies behind the window), the caption gradient inside it, and the
// sides in the caption's lower colour.
Image DrawFrame(const SkinStyle& s, const Rgb& top, const Rgb& bottom) {
    Image img = SkinBuilder::NewImage(kFrameW, kFrameH, s.FrameOutline());
    SkinCanvas c(img);
    Box outer{0, 0, kFrameW, kFrameH};
    double ow = s.outline, r = std::max(s.radius - s.outline, 0);
    Box inner = outer.Inset(ow);
    c.FillRoundRect(inner, r, Vertical(top, bottom, ow, kCaption));
    if (s.finish == Finish::Glossy) {
        // A light band fading out above the caption text, so the text keeps its contrast.
        double band = 8;
        Paint caption = Vertical(top, bottom, ow, kCaption);
        c.Fill(
            inner,
            [&](double x, double y) {
                return std::max(SkinCanvas::RoundRectDistance(inner, r, x, y), y - band);
            },
            [&](double x, double y) {
                return caption(x, y).Mix(Rgb{1, 1, 1}, 0.28 * (1 - y / band));
            });
    }
    // The seam between caption and client.
    c.FillRect({kBorder, kCaption - 1.0, kFrameW - kBorder, kCaption},
               Solid(bottom.Mix(s.FrameOutline(), 0.5)));
    c.FillRect({kBorder, kCaption, kFrameW - kBorder, kFrameH - kBorder}, Solid(s.background));
    return img;
}

// Black where the window is: every pixel whose centre lies inside the rounded outline.
Image DrawFrameMask(const SkinStyle& s) {
    Image img = SkinBuilder::NewImage(kFrameW, kFrameH, Rgb{1, 1, 1});
    Box outer{0, 0, kFrameW, kFrameH};
    for (int y = 0; y < kFrameH; ++y)
        for (int x = 0; x < kFrameW; ++x)
            if (SkinCanvas::RoundRectDistance(outer, s.radius, x + 0.5, y + 0.5) <= 0)
                img.At(x, y) = 0xFF000000u;
    return img;
}

} // namespace

void DrawCapGlyph(SkinCanvas& c, CapGlyph g, double x, double y, double w, const Rgb& colour) {
    // An 8 x 8 glyph centred in the button; strokes sit on pixel centres when w is odd.
    double cx = x + kCapButtonW / 2.0, cy = y + kCapButtonH / 2.0, h = 4;
    double snap = std::fmod(std::round(w), 2.0) == 1 ? 0.5 : 0;
    double l = std::floor(cx - h) + snap, t = std::floor(cy - h) + snap, rr = l + 2 * h, b = t + 2 * h;
    switch (g) {
    case CapGlyph::Close:
        c.Line({l, t}, {rr, b}, w, colour);
        c.Line({rr, t}, {l, b}, w, colour);
        break;
    case CapGlyph::Maximize:
        c.Polyline(
            {
                {l,  t},
                {rr, t},
                {rr, b},
                {l,  b},
                {l,  t}
        },
            w, colour);
        break;
    case CapGlyph::Minimize:
        c.Line({l, b - h}, {rr, b - h}, w, colour);
        break;
    case CapGlyph::Restore:
        c.Polyline(
            {
                {l,      t + 2},
                {rr - 2, t + 2},
                {rr - 2, b    },
                {l,      b    },
                {l,      t + 2}
        },
            w, colour);
        c.Polyline(
            {
                {l + 2,  t + 2},
                {l + 2,  t    },
                {rr,     t    },
                {rr,     b - 2},
                {rr - 2, b - 2}
        },
            w, colour);
        break;
    case CapGlyph::RollUp:
    case CapGlyph::RollDown: {
        // A bar at the top with a chevron below it, pointing up to roll, down to unroll.
        c.Line({l, t}, {rr, t}, w, colour);
        double tip = g == CapGlyph::RollUp ? t + 3 : b, base = g == CapGlyph::RollUp ? b : t + 3;
        c.Polyline(
            {
                {l,  base},
                {cx, tip },
                {rr, base}
        },
            w, colour);
        break;
    }
    case CapGlyph::SysMenu:
        // Three menu lines.
        for (double y : {t + 1, cy, b - 1}) c.Line({l, y}, {rr, y}, w, colour);
        break;
    }
}

namespace {

// Columns: normal, hot, pressed, inactive form; rows: close, maximise, minimise, restore,
// roll up, roll down, system menu.  Every cell starts as the caption behind the button, so
// the buttons sit on any finish.
constexpr int kCapButtonRows = 7;
Image DrawCaptionButtons(const SkinStyle& s, const Image& active, const Image& inactive) {
    Image img = SkinBuilder::NewImage(4 * kCapButtonW, kCapButtonRows * kCapButtonH, s.background);
    SkinCanvas c(img);
    const CapGlyph glyphs[] = {CapGlyph::Close,  CapGlyph::Maximize, CapGlyph::Minimize, CapGlyph::Restore,
                               CapGlyph::RollUp, CapGlyph::RollDown, CapGlyph::SysMenu};
    const Rgb closeRed = Rgb::Parse("#C42B1C"), white{1, 1, 1};
    double hotRadius = std::min(s.radius, 4);
    for (int row = 0; row < kCapButtonRows; ++row)
        for (int col = 0; col < 4; ++col) {
            int x = col * kCapButtonW, y = row * kCapButtonH;
            const Image& under = col == 3 ? inactive : active;
            for (int i = 0; i < kCapButtonW; ++i)
                Copy(under, kFrameW / 2, kCapButtonTop, 1, kCapButtonH, img, x + i, y);
            Box cell{x + 1.0, y + 1.0, x + kCapButtonW - 1.0, y + kCapButtonH - 1.0};
            Rgb glyph = col == 3 ? s.InactiveCaptionText() : s.captionText;
            // Close turns red when hot, unless the caption is of a warm hue already.
            const Rgb& cb = s.captionBottom;
            bool warm = cb.r > 1.3 * cb.g && cb.r > 1.3 * cb.b;
            bool close = glyphs[row] == CapGlyph::Close && !warm;
            if (col == 1 || col == 2) {
                if (close) {
                    c.FillRoundRect(cell, hotRadius, Solid(col == 1 ? closeRed : closeRed.Lighten(-0.1)));
                    glyph = white;
                } else {
                    c.FillRoundRect(cell, hotRadius, Solid(s.captionText), col == 1 ? 0.18 : 0.32);
                }
            }
            DrawCapGlyph(c, glyphs[row], x, y, s.glyph, glyph);
        }
    return img;
}

// Six frames from a button's normal look to its hot one, then its pressed and inactive-form
// cells: the strips of an animated caption button, one row per button (minimise, maximise,
// restore).
constexpr int kStripFrames = 6;
Image DrawButtonStrips(const Image& buttons) {
    const int rows[] = {2, 1, 3};
    Image img = SkinBuilder::NewImage((kStripFrames + 2) * kCapButtonW, 3 * kCapButtonH, Rgb{0, 0, 0});
    auto mix = [](uint32_t a, uint32_t b, double t) {
        uint32_t out = 0xFF000000u;
        for (int shift : {0, 8, 16}) {
            double v = ((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t;
            out |= static_cast<uint32_t>(std::lround(v)) << shift;
        }
        return out;
    };
    for (int r = 0; r < 3; ++r) {
        int sy = rows[r] * kCapButtonH, dy = r * kCapButtonH;
        for (int f = 0; f < kStripFrames; ++f)
            for (int y = 0; y < kCapButtonH; ++y)
                for (int x = 0; x < kCapButtonW; ++x)
                    img.At(f * kCapButtonW + x, dy + y) = mix(
                        buttons.At(x, sy + y), buttons.At(kCapButtonW + x, sy + y), f / (kStripFrames - 1.0));
        Copy(buttons, 2 * kCapButtonW, sy, kCapButtonW, kCapButtonH, img, kStripFrames * kCapButtonW, dy);
        Copy(buttons, 3 * kCapButtonW, sy, kCapButtonW, kCapButtonH, img, (kStripFrames + 1) * kCapButtonW,
             dy);
    }
    return img;
}

void BuildForm(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    auto& d = b.Data();
    Image active = DrawFrame(s, s.captionTop, s.captionBottom);
    Image inactive = DrawFrame(s, s.InactiveCaptionTop(), s.InactiveCaptionBottom());
    d.FPicture.Assign(active);
    d.FInActivePicture.Assign(inactive);
    d.FMask.Assign(DrawFrameMask(s));
    d.FPictureName = "frame.bmp";
    d.FInActivePictureName = "frameinactive.bmp";
    d.FMaskName = "mask.bmp";

    // The corners hold the rounding; the edges stretch.
    int corner = std::max(s.radius, kBorder) + 6;
    d.LTPoint = Point(corner, kCaption);
    // The caption's right end lies in the fixed top-right part, which holds the buttons.
    d.RTPoint = Point(kCaptionRight, kCaption);
    d.LBPoint = Point(corner, kFrameH - corner);
    d.RBPoint = Point(kFrameW - corner, kFrameH - corner);
    d.ClRect = Rect(kBorder, kCaption, kFrameW - kBorder, kFrameH - kBorder);
    // Inside the corners' rounding every pixel belongs to the window; the sizing corners reach
    // as far along the edges as the rounding does.
    d.MaskRectArea = Rect(corner, corner, kFrameW - corner, kFrameH - corner);
    d.HitTestLTPoint = Point(corner, corner);
    d.HitTestRTPoint = Point(kFrameW - corner, corner);
    d.HitTestLBPoint = Point(corner, kFrameH - corner);
    d.HitTestRBPoint = Point(kFrameW - corner, kFrameH - corner);
    d.LeftStretch = d.TopStretch = d.RightStretch = d.BottomStretch = true;
    d.BorderW = kBorder;
    d.CaptionRect = Rect(kBorder, 0, kFrameW - kBorder, kCaption - 1);
    d.ButtonsRect =
        Rect(kCapButtonsRight - kCapButtonsW, kCapButtonTop, kCapButtonsRight, kCapButtonTop + kCapButtonH);
    d.ButtonsOffset = kCapButtonGap;

    Image buttonCells = DrawCaptionButtons(s, active, inactive);
    int pictures = b.AddPicture("capbuttons.bmp", buttonCells);
    // The glossy skin plays its minimise and maximise buttons as six-frame animations.
    bool animated = s.finish == Finish::Glossy;
    int strips = animated ? b.AddPicture("capstrips.bmp", DrawButtonStrips(buttonCells)) : -1;
    auto strip = [](int col, int row) {
        return Rect(col * kCapButtonW, row * kCapButtonH, (col + 1) * kCapButtonW, (row + 1) * kCapButtonH);
    };
    auto addAnimated = [&](const char* name, const char* hint, skin::TbsStdCommand command, int row) {
        auto& a = b.AddObject<skin::TbsDataSkinAnimate>(name);
        a.Hint = hint;
        a.Command = command;
        a.SkinRectInAPicture = true;
        a.ActivePictureIndex = strips;
        a.SkinRect = a.ActiveSkinRect = strip(0, row);
        a.DownSkinRect = strip(kStripFrames, row);
        a.InActiveSkinRect = strip(kStripFrames + 1, row);
        a.CountFrames = kStripFrames;
        a.TimerInterval = 25;
        a.ButtonStyle = true;
        if (command == skin::TbsStdCommand::cmMaximize) {
            a.RestoreHint = "Restore";
            a.RestoreRect = a.RestoreActiveRect = strip(0, 2);
            a.RestoreDownRect = strip(kStripFrames, 2);
            a.RestoreInActiveRect = strip(kStripFrames + 1, 2);
        }
    };
    auto cell = [](int col, int row) {
        return Rect(col * kCapButtonW, row * kCapButtonH, (col + 1) * kCapButtonW, (row + 1) * kCapButtonH);
    };
    struct Button {
        const char* name;
        const char* hint;
        skin::TbsStdCommand command;
        int row;
    } buttons[] = {
        {"closebutton",   "Close",       skin::TbsStdCommand::cmClose,    0},
        {"maxbutton",     "Maximize",    skin::TbsStdCommand::cmMaximize, 1},
        {"minbutton",     "Minimize",    skin::TbsStdCommand::cmMinimize, 2},
        {"rollupbutton",  "Roll Up",     skin::TbsStdCommand::cmRollUp,   4},
        {"sysmenubutton", "System menu", skin::TbsStdCommand::cmSysMenu,  6},
    };
    for (auto& bt : buttons) {
        if (animated && bt.command == skin::TbsStdCommand::cmMaximize) {
            addAnimated(bt.name, bt.hint, bt.command, 1);
            continue;
        }
        if (animated && bt.command == skin::TbsStdCommand::cmMinimize) {
            addAnimated(bt.name, bt.hint, bt.command, 0);
            continue;
        }
        auto& o = b.AddObject<skin::TbsDataSkinStdButton>(bt.name);
        o.Hint = bt.hint;
        o.Command = bt.command;
        o.SkinRectInAPicture = true;
        o.ActivePictureIndex = pictures;
        o.SkinRect = cell(0, bt.row);
        o.ActiveSkinRect = cell(1, bt.row);
        o.DownRect = cell(2, bt.row);
        o.InActiveSkinRect = cell(3, bt.row);
        o.Morphing = Morphs(s);
        int restoreRow = bt.command == skin::TbsStdCommand::cmMaximize ? 3
                         : bt.command == skin::TbsStdCommand::cmRollUp ? 5
                                                                       : -1;
        if (restoreRow >= 0) {
            o.RestoreHint = "Restore";
            o.RestoreRect = cell(0, restoreRow);
            o.RestoreActiveRect = cell(1, restoreRow);
            o.RestoreDownRect = cell(2, restoreRow);
            o.RestoreInActiveRect = cell(3, restoreRow);
        }
    }

    auto& caption = b.AddObject<skin::TbsDataSkinCaption>("caption");
    caption.SkinRect = Rect(kBorder, 0, kCaptionRight, kCaption - 1);
    int width = caption.SkinRect.Width();
    caption.TextRct = Rect(4, 0, width - 4, kCaption - 1);
    caption.FontName = kFontName;
    caption.FontHeight = kFontHeight;
    caption.FontColor = s.InactiveCaptionText().Color();
    caption.ActiveFontColor = s.captionText.Color();
    caption.Alignment = skin::TAlignment::taLeftJustify;
}

// --- glow frames (the skins that have them; they show only with a compositor) -------------

constexpr int kGlow = 10; // how far a glow reaches beyond what it surrounds

// A glow of the skin's caption colour around a w x h hole at (kGlow, kGlow): the picture in
// one colour and a grey mask whose brightness is the glow's alpha, fading out over kGlow
// pixels.  `distance` measures from the hole's edge.
struct Glow {
    Image picture, mask;
};
Glow DrawGlow(const SkinStyle& s, int w, int h, const std::function<double(double, double)>& distance) {
    Glow g{SkinBuilder::NewImage(w + 2 * kGlow, h + 2 * kGlow, s.captionBottom.Mix(s.accent, 0.35)),
           SkinBuilder::NewImage(w + 2 * kGlow, h + 2 * kGlow, Rgb{0, 0, 0})};
    for (int y = 0; y < g.mask.height; ++y)
        for (int x = 0; x < g.mask.width; ++x) {
            double d = distance(x + 0.5, y + 0.5);
            if (d <= 0) continue; // the hole: what the glow surrounds stays clear
            double a = 0.42 * std::pow(std::max(0.0, 1 - d / kGlow), 2);
            g.mask.At(x, y) = Rgb{a, a, a}.Bgra();
        }
    return g;
}

// The layered border of forms: a glow all round the frame.  Its sides are tiled, so the
// glow is measured from a square-cornered frame and every row of a side is alike.
void BuildLayerFrame(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    if (!s.glow) return;
    constexpr int w = 40, h = 40;
    Box hole{kGlow, kGlow, kGlow + w, kGlow + h};
    Glow g =
        DrawGlow(s, w, h, [&](double x, double y) { return SkinCanvas::RoundRectDistance(hole, 0, x, y); });
    auto& f = b.Data().LayerFrame;
    f.PictureIndex = b.AddPicture("layerframe.bmp", g.picture);
    f.MaskPictureIndex = b.AddPicture("layerframemask.bmp", g.mask);
    int sw = w + 2 * kGlow, sh = h + 2 * kGlow;
    f.LTPoint = Point(kGlow + 2, kGlow);
    f.RTPoint = Point(sw - kGlow - 2, kGlow);
    f.LBPoint = Point(kGlow + 2, sh - kGlow);
    f.RBPoint = Point(sw - kGlow - 2, sh - kGlow);
    f.ClRect = Rect(kGlow, kGlow, sw - kGlow, sh - kGlow);
    f.AlphaBlendValue = 255;
    f.InActiveAlphaBlendValue = 150;
    f.BorderRect = {}; // no resize bands: the glow lets the mouse through
    f.HitTestEnable = false;
}

// --- push button ---------------------------------------------------------------------------

constexpr int kButtonW = 64, kButtonH = 26;

// One look of the button at row `row`: the rounded face by the skin's finish inside an
// outline, on the background it stands on.
void DrawButtonLook(SkinCanvas& c, const SkinStyle& s, int row, const Rgb& face, const Rgb& border) {
    Box box{0, double(row * kButtonH), kButtonW, double((row + 1) * kButtonH)};
    box = box.Inset(1); // room for the anti-aliased edge
    double r = s.radius;
    c.FillRoundRect(box, r, Solid(border));
    Box in = box.Inset(s.outline);
    double ir = std::max(r - s.outline, 0.0);
    Paint paint = Solid(face);
    if (s.finish == Finish::Soft || s.finish == Finish::Pastel)
        paint = Vertical(face.Lighten(0.035), face.Lighten(-0.03), in.t, in.b);
    else if (s.finish == Finish::GlossyButtons || s.finish == Finish::Glossy)
        paint = Vertical(face.Lighten(0.05), face.Lighten(-0.04), in.t, in.b);
    c.FillRoundRect(in, ir, paint);
    if (s.finish == Finish::GlossyButtons || s.finish == Finish::Glossy) {
        double mid = in.t + in.Height() * 0.48;
        c.Fill(
            in,
            [&](double x, double y) {
                return std::max(SkinCanvas::RoundRectDistance(in, ir, x, y), y - mid);
            },
            Solid(Rgb{1, 1, 1}), s.Dark() ? 0.10 : 0.38);
    }
}

// A tool button: the tool bar's own gradient until hot or pressed, so that a button at rest
// is no patch on its bar; `border` null draws no outline.
void DrawToolLook(SkinCanvas& c, const SkinStyle& s, int row, const Rgb* face, const Rgb* border) {
    double y0 = row * kButtonH, y1 = y0 + kButtonH;
    Paint bar = Vertical(s.ToolBarTop(), s.ToolBarBottom(), y0, y1);
    c.FillRect({0, y0, double(kButtonW), y1}, bar);
    Box box = Box{0, y0, kButtonW, y1}.Inset(1);
    double r = std::min(s.radius, 4);
    if (border) c.FillRoundRect(box, r, Solid(*border));
    Box in = border ? box.Inset(s.outline) : box;
    c.FillRoundRect(in, std::max(r - (border ? s.outline : 0), 0.0), face ? Solid(*face) : bar);
}

enum class ButtonKind { Push, Tool, ToolMenu };

constexpr int kMenuPart = 14; // the drop-down part at the right of a menu tool button
// The drop-down marker lies in the looks' fixed bottom rows, from kMarkerTop down, so that it
// keeps its shape however tall the button is (the rows above stretch); it sits a little below
// the middle, level with a tall tool button's caption.
constexpr int kMarkerTop = 13;
constexpr double kMarkerY = 15.5;

void AddButton(SkinBuilder& b, const char* name, ButtonKind kind) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(kButtonW, 5 * kButtonH, s.background);
    SkinCanvas c(img);
    Rgb face = s.Face(), border = s.Border();
    if (kind == ButtonKind::Push) {
        DrawButtonLook(c, s, 0, face, border);                                // normal
        DrawButtonLook(c, s, 1, HotFace(s, face), border.Mix(s.accent, 0.5)); // hot
        DrawButtonLook(c, s, 2, s.Pressed(face), border);                     // pressed
        DrawButtonLook(c, s, 3, face, s.accent);                              // focused: the accent ring
        DrawButtonLook(c, s, 4, s.Disabled(face), s.Disabled(border));        // disabled
    } else {
        Rgb hot = HotFace(s, face), pressed = s.Pressed(face);
        Rgb hotBorder = border.Mix(s.accent, 0.5), disabledBorder = s.background.Mix(s.Border(), 0.12);
        DrawToolLook(c, s, 0, nullptr, nullptr);
        DrawToolLook(c, s, 1, &hot, &hotBorder);
        DrawToolLook(c, s, 2, &pressed, &border);
        DrawToolLook(c, s, 3, nullptr, &s.accent);
        DrawToolLook(c, s, 4, nullptr, &disabledBorder);
    }
    if (kind == ButtonKind::ToolMenu)
        for (int row = 0; row < 5; ++row) {
            double cx = kButtonW - kMenuPart / 2.0, cy = row * kButtonH + kMarkerY;
            Rgb glyph = row == 4 ? s.Disabled(s.text) : s.text;
            c.Triangle({cx - 3.5, cy - 1.5}, {cx + 3.5, cy - 1.5}, {cx, cy + 2}, glyph);
        }

    skin::TbsDataSkinButtonControl* dp = nullptr;
    if (kind == ButtonKind::ToolMenu) {
        auto& m = b.AddControl<skin::TbsDataSkinMenuButtonControl>(name);
        m.TrackButtonRect = Rect(kButtonW - kMenuPart, 0, kButtonW, kButtonH);
        dp = &m;
    } else {
        dp = &b.AddControl<skin::TbsDataSkinButtonControl>(name);
    }
    auto& d = *dp;
    d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", img);
    auto look = [](int row) { return Rect(0, row * kButtonH, kButtonW, (row + 1) * kButtonH); };
    d.SkinRect = look(0);
    d.ActiveSkinRect = look(1);
    d.DownSkinRect = look(2);
    d.FocusedSkinRect = look(3);
    d.DisabledSkinRect = look(4);
    int corner = std::max(s.radius, s.outline) + 2;
    SetNinePart(d, kButtonW, kButtonH, corner);
    if (kind == ButtonKind::ToolMenu) {
        // The drop-down part keeps its width at the right; the marker's rows do not stretch.
        int top = std::min(corner, kMarkerTop - 1);
        d.LTPoint = Point(corner, top);
        d.RTPoint = Point(kButtonW - kMenuPart - 1, top);
        d.LBPoint = Point(corner, kMarkerTop);
        d.RBPoint = Point(kButtonW - kMenuPart - 1, kMarkerTop);
        d.ClRect = Rect(corner, top, kButtonW - kMenuPart - 1, kMarkerTop);
    }
    SetFont(d, s.text);
    d.ActiveFontColor = s.text.Color();
    d.DownFontColor = s.text.Color();
    d.DisabledFontColor = s.Disabled(s.text).Color();
    d.Morphing = Morphs(s) && kind == ButtonKind::Push;
    if (s.glow && kind == ButtonKind::Push) {
        Box hole{kGlow + 1.0, kGlow + 1.0, kGlow + kButtonW - 1.0, kGlow + kButtonH - 1.0};
        Glow g = DrawGlow(s, kButtonW, kButtonH, [&](double x, double y) {
            return SkinCanvas::RoundRectDistance(hole, s.radius, x, y);
        });
        d.GlowLayerPictureIndex = b.AddPicture(std::string(name) + "glow.bmp", g.picture);
        d.GlowLayerMaskPictureIndex = b.AddPicture(std::string(name) + "glowmask.bmp", g.mask);
        int fixed = kGlow + std::max(s.radius, s.outline) + 2; // the rounded corners stay whole
        d.GlowLayerOffsetLeft = d.GlowLayerOffsetTop = d.GlowLayerOffsetRight = d.GlowLayerOffsetBottom =
            fixed;
        d.GlowLayerShowOffsetX = d.GlowLayerShowOffsetY = kGlow;
        d.GlowLayerAlphaBlendValue = 255;
    }
}

void BuildButton(SkinBuilder& b) {
    AddButton(b, "button", ButtonKind::Push);
    AddButton(b, "resizebutton", ButtonKind::Push);
    AddButton(b, "resizetoolbutton", ButtonKind::Tool);
    AddButton(b, "toolbutton", ButtonKind::Tool);
    AddButton(b, "toolmenubutton", ButtonKind::ToolMenu);
}

// --- panel ---------------------------------------------------------------------------------

constexpr int kPanelSize = 40;

void AddPanel(SkinBuilder& b, const char* name, bool caption);

void BuildPanel(SkinBuilder& b) {
    AddPanel(b, "panel", false);
    AddPanel(b, "groupbox", true);
}

constexpr int kCaptionH = 22;

// A panel; a group box has a caption band of the accent colour at its top, which the
// group box stretches in width only.
void AddPanel(SkinBuilder& b, const char* name, bool caption) {
    const SkinStyle& s = b.Style();
    int h = caption ? kPanelSize + kCaptionH : kPanelSize;
    Image img = SkinBuilder::NewImage(kPanelSize, h, s.background);
    SkinCanvas c(img);
    double r = std::min(s.radius, 4);
    Box box{0, 0, kPanelSize, double(h)};
    c.FillRoundRect(box, r, Solid(s.background.Mix(s.Border(), 0.45)));
    c.FillRoundRect(box.Inset(1), std::max(r - 1, 0.0), Solid(s.background));
    if (caption)
        c.FillRect({1, 1, kPanelSize - 1.0, double(kCaptionH)}, Solid(s.background.Mix(s.accent, 0.16)));
    auto& d = b.AddControl<skin::TbsDataSkinPanelControl>(name);
    d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", img);
    d.SkinRect = Rect(0, 0, kPanelSize, h);
    // A group box's caption starts 6 pixels in; its corners reach at least that far, so that
    // the caption lies from the top-left part to the top-right one and widens with the box.
    int corner = std::max(static_cast<int>(r) + 3, caption ? 6 : 0);
    SetNinePart(d, kPanelSize, h, corner);
    if (caption) {
        d.LTPoint = Point(corner, kCaptionH);
        d.RTPoint = Point(kPanelSize - corner, kCaptionH);
        d.ClRect = Rect(corner, kCaptionH, kPanelSize - corner, h - corner);
        d.CaptionRect = Rect(6, 1, kPanelSize - 6, kCaptionH);
        d.Alignment = skin::TAlignment::taLeftJustify;
    }
    SetFont(d, s.text);
}

// --- check and radio boxes -----------------------------------------------------------------

constexpr int kMark = 14;              // check and radio images
constexpr int kRowW = 120, kRowH = 20; // the control's own background look

enum class Mark { Unchecked, Checked, Grayed };
enum class MarkState { Normal, Hot, Disabled };

void DrawCheckImage(SkinCanvas& c, const SkinStyle& s, double x, double y, Mark mark, MarkState state) {
    Box box{x + 0.5, y + 0.5, x + kMark - 0.5, y + kMark - 0.5};
    double r = std::min(s.radius * 0.5, 3.0);
    Rgb accent = state == MarkState::Hot ? s.Hover(s.accent) : s.accent;
    Rgb border = state == MarkState::Hot ? s.accent : s.Border();
    Rgb fill = s.Window(), onAccent = s.OnAccent();
    if (state == MarkState::Disabled) {
        accent = s.Disabled(accent);
        border = s.Disabled(border);
        fill = s.Disabled(fill);
        onAccent = s.Disabled(onAccent).Mix(accent, 0.3);
    }
    if (mark == Mark::Checked) {
        c.FillRoundRect(box, r, Solid(accent));
        double w = std::max(s.glyph, 1.5);
        c.Polyline(
            {
                {x + 3.5,  y + 7.2},
                {x + 6,    y + 9.8},
                {x + 10.8, y + 4.4}
        },
            w, onAccent);
        return;
    }
    c.FillRoundRect(box, r, Solid(border));
    c.FillRoundRect(box.Inset(s.outline), std::max(r - s.outline, 0.0), Solid(fill));
    if (mark == Mark::Grayed) c.FillRoundRect({x + 4, y + 4, x + kMark - 4, y + kMark - 4}, 1, Solid(accent));
}

void DrawRadioImage(SkinCanvas& c, const SkinStyle& s, double x, double y, Mark mark, MarkState state) {
    Pt centre{x + kMark / 2.0, y + kMark / 2.0};
    double r = kMark / 2.0 - 0.5;
    Rgb accent = state == MarkState::Hot ? s.Hover(s.accent) : s.accent;
    Rgb border = state == MarkState::Hot ? s.accent : s.Border();
    Rgb fill = s.Window(), onAccent = s.OnAccent();
    if (state == MarkState::Disabled) {
        accent = s.Disabled(accent);
        border = s.Disabled(border);
        fill = s.Disabled(fill);
        onAccent = s.Disabled(onAccent).Mix(accent, 0.3);
    }
    if (mark == Mark::Checked) {
        c.Disc(centre, r, Solid(accent));
        c.Disc(centre, 2.6, Solid(onAccent));
        return;
    }
    c.Disc(centre, r, Solid(border));
    c.Disc(centre, r - s.outline, Solid(fill));
}

void BuildCheckRadio(SkinBuilder& b, const char* name, bool radio) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(kRowW, kRowH + kMark, s.background);
    SkinCanvas c(img);
    struct Look {
        Mark mark;
        MarkState state;
    } looks[] = {
        {Mark::Checked,   MarkState::Normal  },
        {Mark::Unchecked, MarkState::Normal  },
        {Mark::Checked,   MarkState::Hot     },
        {Mark::Unchecked, MarkState::Hot     },
        {Mark::Checked,   MarkState::Disabled},
        {Mark::Unchecked, MarkState::Disabled},
        {Mark::Grayed,    MarkState::Normal  },
        {Mark::Grayed,    MarkState::Hot     },
    };
    int count = radio ? 6 : 8;
    for (int i = 0; i < count; ++i) {
        if (radio)
            DrawRadioImage(c, s, i * kMark, kRowH, looks[i].mark, looks[i].state);
        else
            DrawCheckImage(c, s, i * kMark, kRowH, looks[i].mark, looks[i].state);
    }
    auto& d = b.AddControl<skin::TbsDataSkinCheckRadioControl>(name);
    d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", img);
    d.SkinRect = Rect(0, 0, kRowW, kRowH);
    d.ActiveSkinRect = d.SkinRect;
    SetNinePart(d, kRowW, kRowH, 2);
    int top = (kRowH - kMark) / 2;
    d.CheckImageArea = Rect(2, top, 2 + kMark, top + kMark);
    d.TextArea = Rect(2 + kMark + 4, 0, kRowW, kRowH);
    auto image = [&](int i) { return Rect(i * kMark, kRowH, (i + 1) * kMark, kRowH + kMark); };
    d.CheckImageRect = image(0);
    d.UnCheckImageRect = image(1);
    d.ActiveCheckImageRect = image(2);
    d.ActiveUnCheckImageRect = image(3);
    d.UnEnabledCheckImageRect = image(4);
    d.UnEnabledUnCheckImageRect = image(5);
    if (!radio) {
        d.GrayedCheckImageRect = image(6);
        d.ActiveGrayedCheckImageRect = image(7);
    }
    SetFont(d, s.text);
    d.ActiveFontColor = s.text.Color();
    d.UnEnabledFontColor = s.Disabled(s.text).Color();
    d.FrameFontColor = s.text.Color();
}

void BuildCheckBox(SkinBuilder& b) {
    BuildCheckRadio(b, "checkbox", false);
}

void BuildRadioBox(SkinBuilder& b) {
    BuildCheckRadio(b, "radiobox", true);
}

// --- scroll bars ---------------------------------------------------------------------------

constexpr int kBarLen = 100, kBarThick = 17, kArrowCell = 17, kThumbLen = 30, kThumbThick = 11;
constexpr int kCornerW = 19; // the square a horizontal bar leaves beside a vertical one

enum class PartLook { Normal, Hot, Pressed };

// An arrow button of the bar in the cell at (x, y), pointing left or right.
void DrawArrowCell(SkinCanvas& c, const SkinStyle& s, int x, int y, bool right, PartLook look) {
    Box cell{double(x), double(y), double(x + kArrowCell), double(y + kBarThick)};
    Rgb track = s.background.Mix(s.Border(), 0.18);
    c.FillRect(cell, Solid(track));
    Rgb glyph = s.text.Mix(track, 0.25);
    if (look != PartLook::Normal) {
        Rgb face = look == PartLook::Hot ? HotFace(s, s.Face()) : s.Pressed(s.Face());
        c.FillRoundRect(cell.Inset(1.5), std::min(s.radius, 3),
                        Solid(look == PartLook::Hot ? s.accent : s.Border()));
        c.FillRoundRect(cell.Inset(1.5 + s.outline), std::max(std::min(s.radius, 3) - s.outline, 0),
                        Solid(face));
        glyph = s.text;
    }
    double cx = x + kArrowCell / 2.0, cy = y + kBarThick / 2.0;
    if (right)
        c.Triangle({cx - 2, cy - 4}, {cx - 2, cy + 4}, {cx + 2.5, cy}, glyph);
    else
        c.Triangle({cx + 2, cy - 4}, {cx + 2, cy + 4}, {cx - 2.5, cy}, glyph);
}

void DrawThumbCell(SkinCanvas& c, const SkinStyle& s, int x, int y, PartLook look) {
    Rgb face = s.Border().Mix(s.background, 0.25);
    if (look == PartLook::Hot) face = s.accent.Mix(s.Border(), 0.35);
    if (look == PartLook::Pressed) face = s.accent;
    Box box{double(x), double(y), double(x + kThumbLen), double(y + kThumbThick)};
    c.FillRoundRect(box.Inset(0.5), kThumbThick / 2.0 - 0.5, Solid(face));
}

// The horizontal picture: the bar, then the hot and pressed arrows, then the three thumbs;
// `corner` adds the square at the right end.
Image DrawHorzBar(const SkinStyle& s, int corner) {
    int w = kBarLen + corner;
    Image img = SkinBuilder::NewImage(std::max(w, 4 * kArrowCell), 3 * kBarThick, s.background);
    SkinCanvas c(img);
    Rgb track = s.background.Mix(s.Border(), 0.18);
    c.FillRect({0, 0, double(kBarLen), double(kBarThick)}, Solid(track));
    if (corner) c.FillRect({double(kBarLen), 0, double(w), double(kBarThick)}, Solid(s.background));
    DrawArrowCell(c, s, 0, 0, false, PartLook::Normal);
    DrawArrowCell(c, s, kBarLen - kArrowCell, 0, true, PartLook::Normal);
    DrawArrowCell(c, s, 0, kBarThick, false, PartLook::Hot);
    DrawArrowCell(c, s, kArrowCell, kBarThick, false, PartLook::Pressed);
    DrawArrowCell(c, s, 2 * kArrowCell, kBarThick, true, PartLook::Hot);
    DrawArrowCell(c, s, 3 * kArrowCell, kBarThick, true, PartLook::Pressed);
    c.FillRect({0, 2.0 * kBarThick, double(img.width), 3.0 * kBarThick}, Solid(track));
    int ty = 2 * kBarThick + (kBarThick - kThumbThick) / 2;
    DrawThumbCell(c, s, 0, ty, PartLook::Normal);
    DrawThumbCell(c, s, kThumbLen, ty, PartLook::Hot);
    DrawThumbCell(c, s, 2 * kThumbLen, ty, PartLook::Pressed);
    return img;
}

Image Transposed(const Image& from) {
    Image to = from;
    to.Reset(from.height, from.width);
    for (int y = 0; y < from.height; ++y)
        for (int x = 0; x < from.width; ++x) to.At(y, x) = from.At(x, y);
    return to;
}

skin::TRect Swap(const skin::TRect& r, bool vertical) {
    return vertical ? Rect(r.Top, r.Left, r.Bottom, r.Right) : r;
}

skin::TPoint Swap(const skin::TPoint& p, bool vertical) {
    return vertical ? Point(p.Y, p.X) : p;
}

void AddScrollBar(SkinBuilder& b, const char* name, bool vertical, int corner) {
    const SkinStyle& s = b.Style();
    Image img = DrawHorzBar(s, corner);
    auto& d = b.AddControl<skin::TbsDataSkinScrollBarControl>(name);
    d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", vertical ? Transposed(img) : img);
    int w = kBarLen + corner;
    // The right cap starts one pixel inside the track, so the increment button lies beyond it
    // and moves with the bar's end.
    int rightCap = kBarLen - kArrowCell - 1;
    d.SkinRect = Swap(Rect(0, 0, w, kBarThick), vertical);
    d.LTPoint = Swap(Point(kArrowCell, 0), vertical);
    d.RTPoint = vertical ? Point(0, 0) : Point(rightCap, 0);
    d.LBPoint = vertical ? Point(0, rightCap) : Point(0, 0);
    d.RBPoint = Point(0, 0);
    d.ClRect = Swap(Rect(kArrowCell, 0, kBarLen - kArrowCell, kBarThick), vertical);
    d.StretchEffect = true;
    d.TrackArea = Swap(Rect(kArrowCell, 0, kBarLen - kArrowCell, kBarThick), vertical);
    d.DownButtonRect = Swap(Rect(0, 0, kArrowCell, kBarThick), vertical);
    d.UpButtonRect = Swap(Rect(kBarLen - kArrowCell, 0, kBarLen, kBarThick), vertical);
    auto cell = [&](int i) {
        return Swap(Rect(i * kArrowCell, kBarThick, (i + 1) * kArrowCell, 2 * kBarThick), vertical);
    };
    d.ActiveDownButtonRect = cell(0);
    d.DownDownButtonRect = cell(1);
    d.ActiveUpButtonRect = cell(2);
    d.DownUpButtonRect = cell(3);
    int ty = 2 * kBarThick + (kBarThick - kThumbThick) / 2;
    auto thumb = [&](int i) {
        return Swap(Rect(i * kThumbLen, ty, (i + 1) * kThumbLen, ty + kThumbThick), vertical);
    };
    d.ThumbRect = thumb(0);
    d.ActiveThumbRect = thumb(1);
    d.DownThumbRect = thumb(2);
    d.ThumbOffset1 = d.ThumbOffset2 = kThumbThick / 2 + 1;
    d.ThumbStretchEffect = true;
}

void BuildScrollBars(SkinBuilder& b) {
    AddScrollBar(b, "hscrollbar", false, 0);
    AddScrollBar(b, "vscrollbar", true, 0);
    AddScrollBar(b, "bothhscrollbar", false, kCornerW);
}

// --- tool panels, status bar, labels, bevel and splitters -----------------------------------

// A w x h box of `fill` inside a one-pixel `border` (none when border is null), rounded by
// `radius`; its nine-part geometry keeps `corner` pixels fixed.
template <class D>
D& AddBox(SkinBuilder& b, const char* name, int w, int h, const Paint& fill, const Rgb* border, double radius,
          int corner) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(w, h, s.background);
    SkinCanvas c(img);
    Box box{0, 0, double(w), double(h)};
    if (border) {
        c.FillRoundRect(box, radius, Solid(*border));
        box = box.Inset(1);
        radius = std::max(radius - 1, 0.0);
    }
    c.FillRoundRect(box, radius, fill);
    auto& d = b.AddControl<D>(name);
    d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", img);
    d.SkinRect = Rect(0, 0, w, h);
    SetNinePart(d, w, h, corner);
    return d;
}

void BuildToolPanels(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    // The bars carry a breath of the accent, so that each skin's tool bar is its own.
    Rgb top = s.ToolBarTop(), bottom = s.ToolBarBottom();
    Rgb line = s.background.Mix(s.Border(), 0.45);
    for (const char* name : {"toolpanel", "resizetoolpanel"}) {
        // The bar's lower edge is a line: the bottom row is kept whole.
        Image img = SkinBuilder::NewImage(kPanelSize, 30, s.background);
        SkinCanvas c(img);
        c.FillRect({0, 0, double(kPanelSize), 29}, Vertical(top, bottom, 0, 29));
        c.FillRect({0, 29, double(kPanelSize), 30}, Solid(line));
        auto& d = b.AddControl<skin::TbsDataSkinPanelControl>(name);
        d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", img);
        d.SkinRect = Rect(0, 0, kPanelSize, 30);
        SetNinePart(d, kPanelSize, 30, 3);
        d.LBPoint = Point(3, 29);
        d.RBPoint = Point(kPanelSize - 3, 29);
        d.ClRect = Rect(3, 3, kPanelSize - 3, 29);
        SetFont(d, s.text);
    }
    // The status bar: a line above, the grip of three dotted diagonals at the right.
    Image img = SkinBuilder::NewImage(kPanelSize + 12, 22, s.background.Mix(s.Border(), 0.10));
    for (int x = 0; x < kPanelSize; ++x) img.At(x, 0) = line.Bgra();
    SkinCanvas c(img);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j)
            c.Disc({kPanelSize + 2.5 + 3 * (2 - j), 20.5 - 3 * (i - j) - 3}, 0.9, Solid(s.Border()));
    auto& d = b.AddControl<skin::TbsDataSkinPanelControl>("statusbar");
    d.PictureIndex = b.AddPicture("statusbar.bmp", img);
    d.SkinRect = Rect(0, 0, kPanelSize, 22);
    SetNinePart(d, kPanelSize, 22, 2);
    d.GripperRect = Rect(kPanelSize, 0, kPanelSize + 12, 22);
    d.GripperTransparent = false;
    SetFont(d, s.text);
}

void BuildLabels(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    auto& std = b.AddControl<skin::TbsDataSkinStdLabelControl>("stdlabel");
    SetFont(std, s.text);
    std.ActiveFontColor = s.AccentText().Color();
    Rgb tint = s.background.Mix(s.accent, 0.10), border = s.background.Mix(s.Border(), 0.5);
    auto& label = AddBox<skin::TbsDataSkinLabelControl>(b, "label", 40, 20, Solid(tint), &border,
                                                        std::min(s.radius, 3), 4);
    SetFont(label, s.text);
    Rgb header = s.background.Mix(s.accent, 0.22);
    auto& menu = AddBox<skin::TbsDataSkinLabelControl>(
        b, "menuheader", 40, 20, Vertical(header.Lighten(0.03), header, 0, 20), nullptr, 0, 2);
    SetFont(menu, s.text);
    menu.FontStyle = skin::fsBold;
    auto& bevel = b.AddControl<skin::TbsDataSkinBevel>("bevel");
    bevel.DarkColor = s.background.Mix(s.Border(), 0.6).Color();
    bevel.LightColor = s.background.Lighten(s.Dark() ? 0.08 : 0.2).Color();
}

void BuildSplitters(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Rgb face = s.background.Mix(s.Border(), 0.15);
    for (bool vertical : {true, false}) {
        int w = vertical ? 6 : 40, h = vertical ? 40 : 6;
        Image img = SkinBuilder::NewImage(w + (vertical ? 6 : 0), h + (vertical ? 0 : 6), face);
        SkinCanvas c(img);
        // The grip: three dots across the splitter's middle.
        for (int i = -1; i <= 1; ++i) {
            Pt at = vertical ? Pt{w + 3.0, 20.0 + 4 * i} : Pt{20.0 + 4 * i, h + 3.0};
            c.Disc(at, 1.1, Solid(s.Border()));
        }
        auto& d = b.AddControl<skin::TbsDataSkinSplitterControl>(vertical ? "vsplitter" : "hsplitter");
        d.PictureIndex = b.AddPicture(vertical ? "vsplitter.bmp" : "hsplitter.bmp", img);
        d.SkinRect = Rect(0, 0, w, h);
        SetNinePart(d, w, h, 1);
        d.GripperRect = vertical ? Rect(w, 14, w + 6, 26) : Rect(14, h, 26, h + 6);
    }
}

// --- edits ---------------------------------------------------------------------------------

constexpr int kEditW = 60, kEditH = 22;
constexpr int kEditButtonW = 18;

void DrawEditFrame(SkinCanvas& c, const SkinStyle& s, int y, bool active) {
    Box box{0, double(y), double(kEditW), double(y + kEditH)};
    double r = std::min(s.radius, 4);
    c.FillRect(box, Solid(s.background));
    c.FillRoundRect(box, r, Solid(active ? s.accent : s.Border()));
    c.FillRoundRect(box.Inset(s.outline), std::max(r - s.outline, 0.0), Solid(s.Window()));
}

// The drop-down arrow of an edit button in the cell at (x, y).
void DrawEditButton(SkinCanvas& c, const SkinStyle& s, int x, int y, PartLook look) {
    Box cell{double(x), double(y), double(x + kEditButtonW), double(y + kEditH - 4)};
    Rgb face = look == PartLook::Normal ? s.Window()
               : look == PartLook::Hot  ? HotFace(s, s.Face())
                                        : s.Pressed(s.Face());
    c.FillRoundRect(cell, std::min(s.radius, 3), Solid(face));
    double cx = x + kEditButtonW / 2.0, cy = y + (kEditH - 4) / 2.0;
    c.Triangle({cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2.5}, s.text);
}

void AddEdit(SkinBuilder& b, const char* name, bool button) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(kEditW, 3 * kEditH, s.background);
    SkinCanvas c(img);
    DrawEditFrame(c, s, 0, false);
    DrawEditFrame(c, s, kEditH, true);
    const int bx = kEditW - kEditButtonW - 2;
    if (button) {
        DrawEditButton(c, s, bx, 2, PartLook::Normal);
        DrawEditButton(c, s, bx, kEditH + 2, PartLook::Normal);
        DrawEditButton(c, s, 0, 2 * kEditH + 2, PartLook::Hot);
        DrawEditButton(c, s, kEditButtonW + 2, 2 * kEditH + 2, PartLook::Pressed);
    }
    auto& d = b.AddControl<skin::TbsDataSkinEditControl>(name);
    d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", img);
    d.SkinRect = Rect(0, 0, kEditW, kEditH);
    d.ActiveSkinRect = Rect(0, kEditH, kEditW, 2 * kEditH);
    // The right cap holds the button, so it moves with the right edge.
    int rightCap = button ? bx - 2 : kEditW - 6;
    d.LTPoint = Point(6, 0);
    d.RTPoint = Point(rightCap, 0);
    d.LBPoint = Point(6, kEditH);
    d.RBPoint = Point(rightCap, kEditH);
    d.ClRect = Rect(4, 4, button ? bx - 2 : kEditW - 4, kEditH - 4);
    d.StretchEffect = false;
    SetFont(d, s.text);
    d.ActiveFontColor = s.text.Color();
    d.DisabledFontColor = s.Disabled(s.text).Color();
    if (button) {
        d.ButtonRect = Rect(bx, 2, bx + kEditButtonW, kEditH - 2);
        d.ActiveButtonRect = Rect(0, 2 * kEditH + 2, kEditButtonW, 3 * kEditH - 2);
        d.DownButtonRect = Rect(kEditButtonW + 2, 2 * kEditH + 2, 2 * kEditButtonW + 2, 3 * kEditH - 2);
    }
}

void BuildEdits(SkinBuilder& b) {
    AddEdit(b, "edit", false);
    AddEdit(b, "buttonedit", true);
}

// --- combo box -----------------------------------------------------------------------------

constexpr int kComboItemH = kEditH - 8;

void BuildComboBox(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    const int bx = kEditW - kEditButtonW - 2;
    const int iy = 3 * kEditH; // the item strips below the frames
    Image img = SkinBuilder::NewImage(kEditW, iy + 2 * kComboItemH, s.background);
    SkinCanvas c(img);
    DrawEditFrame(c, s, 0, false);
    DrawEditFrame(c, s, kEditH, true);
    DrawEditButton(c, s, bx, 2, PartLook::Normal);
    DrawEditButton(c, s, bx, kEditH + 2, PartLook::Normal);
    DrawEditButton(c, s, 0, 2 * kEditH + 2, PartLook::Hot);
    DrawEditButton(c, s, kEditButtonW + 2, 2 * kEditH + 2, PartLook::Pressed);
    c.FillRect({0, double(iy), double(kEditW), double(iy + kComboItemH)}, Solid(s.Window()));
    Box focus{0, double(iy + kComboItemH), double(kEditW), double(iy + 2 * kComboItemH)};
    c.FillRect(focus, Solid(s.Window()));
    c.FillRoundRect(focus, std::min(s.radius, 2), Solid(s.Selection(s.Window())));
    auto& d = b.AddControl<skin::TbsDataSkinComboBox>("combobox");
    d.PictureIndex = b.AddPicture("combobox.bmp", img);
    d.SkinRect = Rect(0, 0, kEditW, kEditH);
    d.ActiveSkinRect = Rect(0, kEditH, kEditW, 2 * kEditH);
    d.LTPoint = Point(6, 0);
    d.RTPoint = Point(bx - 2, 0);
    d.LBPoint = Point(6, kEditH);
    d.RBPoint = Point(bx - 2, kEditH);
    d.ClRect = Rect(4, 4, bx - 2, 4 + kComboItemH);
    d.StretchEffect = false;
    d.ButtonRect = Rect(bx, 2, bx + kEditButtonW, kEditH - 2);
    d.ActiveButtonRect = Rect(0, 2 * kEditH + 2, kEditButtonW, 3 * kEditH - 2);
    d.DownButtonRect = Rect(kEditButtonW + 2, 2 * kEditH + 2, 2 * kEditButtonW + 2, 3 * kEditH - 2);
    d.SItemRect = Rect(0, iy, kEditW, iy + kComboItemH);
    d.FocusItemRect = Rect(0, iy + kComboItemH, kEditW, iy + 2 * kComboItemH);
    d.ItemLeftOffset = d.ItemRightOffset = 3;
    d.ItemTextRect = Rect(0, 0, kEditW, kComboItemH);
    SetFont(d, s.text);
    d.ActiveFontColor = s.text.Color();
    d.FocusFontColor = s.text.Color();
    d.ListBoxName = "listbox";
}

// --- list box ------------------------------------------------------------------------------

constexpr int kListW = 60, kListH = 60, kListRowH = 20;

void BuildListBox(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(kListW, kListH + 3 * kListRowH, s.background);
    SkinCanvas c(img);
    double r = std::min(s.radius, 4);
    Box frame{0, 0, double(kListW), double(kListH)};
    c.FillRoundRect(frame, r, Solid(s.Border()));
    c.FillRoundRect(frame.Inset(s.outline), std::max(r - s.outline, 0.0), Solid(s.Window()));
    // Rows: plain, selected (the selection tint), selected with the focus (an accent ring
    // round the tint).
    c.FillRect({0, double(kListH), double(kListW), double(kListH + kListRowH)}, Solid(s.Window()));
    Box selected{0, double(kListH + kListRowH), double(kListW), double(kListH + 2 * kListRowH)};
    c.FillRect(selected, Solid(s.Window()));
    c.FillRoundRect(selected.Inset(1), std::min(s.radius, 3), Solid(s.Selection(s.Window())));
    Box focus{0, double(kListH + 2 * kListRowH), double(kListW), double(kListH + 3 * kListRowH)};
    c.FillRect(focus, Solid(s.Window()));
    c.FillRoundRect(focus.Inset(1), std::min(s.radius, 3), Solid(s.accent));
    c.FillRoundRect(focus.Inset(2), std::max(std::min(s.radius, 3) - 1, 0), Solid(s.Selection(s.Window())));
    auto& d = b.AddControl<skin::TbsDataSkinListBox>("listbox");
    d.PictureIndex = b.AddPicture("listbox.bmp", img);
    d.SkinRect = Rect(0, 0, kListW, kListH);
    SetNinePart(d, kListW, kListH, 5);
    int edge = s.outline + 1;
    d.ClRect = Rect(edge, edge, kListW - edge, kListH - edge);
    d.SItemRect = Rect(0, kListH, kListW, kListH + kListRowH);
    d.ActiveItemRect = Rect(0, kListH + kListRowH, kListW, kListH + 2 * kListRowH);
    d.FocusItemRect = Rect(0, kListH + 2 * kListRowH, kListW, kListH + 3 * kListRowH);
    d.ItemLeftOffset = d.ItemRightOffset = 5;
    d.ItemTextRect = Rect(3, 0, kListW - 3, kListRowH);
    SetFont(d, s.text);
    d.ActiveFontColor = s.text.Color();
    d.FocusFontColor = s.text.Color();
    d.VScrollBarName = "vscrollbar";
    d.HScrollBarName = "hscrollbar";
    d.BothScrollBarName = "bothhscrollbar";
}

// --- slider --------------------------------------------------------------------------------

constexpr int kSliderRulerLen = 40, kSliderRulerThick = 6;
constexpr int kSliderThumbW = 11, kSliderThumbLen = 17; // one state, across x along
constexpr int kSliderThumbTop = kSliderRulerThick + 2;

// A thumb state in the cell at (x, y), w x h: a rounded face, the held one in the accent; the
// cell's corners stay the background, which the slider leaves out.
void DrawSliderThumb(SkinCanvas& c, const SkinStyle& s, int x, int y, int w, int h, bool held) {
    Box box{double(x), double(y), double(x + w), double(y + h)};
    double r = std::min(std::max(s.radius, 2), 4);
    c.FillRoundRect(box.Inset(0.5), r, Solid(held ? s.accent : s.Border()));
    Rgb face = held ? s.accent.Mix(s.Face(), 0.35) : s.Face();
    c.FillRoundRect(box.Inset(0.5 + s.outline), std::max(r - s.outline, 1.0), Solid(face));
}

void BuildSlider(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    const int vx = kSliderRulerLen + 2; // the vertical ruler, right of the horizontal one
    const int vy = kSliderThumbTop + kSliderThumbLen + 2;
    Image img = SkinBuilder::NewImage(std::max(vx + kSliderRulerThick, 2 * kSliderThumbLen),
                                      std::max(vy + kSliderThumbW, kSliderRulerLen), s.background);
    SkinCanvas c(img);
    Rgb groove = s.background.Mix(s.Border(), 0.30);
    double gr = kSliderRulerThick / 2.0;
    c.FillRoundRect({0, 0, double(kSliderRulerLen), double(kSliderRulerThick)}, gr, Solid(s.Border()));
    c.FillRoundRect({1, 1, double(kSliderRulerLen - 1), double(kSliderRulerThick - 1)}, gr - 1,
                    Solid(groove));
    c.FillRoundRect({double(vx), 0, double(vx + kSliderRulerThick), double(kSliderRulerLen)}, gr,
                    Solid(s.Border()));
    c.FillRoundRect({double(vx + 1), 1, double(vx + kSliderRulerThick - 1), double(kSliderRulerLen - 1)},
                    gr - 1, Solid(groove));
    for (int i = 0; i < 2; ++i) {
        DrawSliderThumb(c, s, i * kSliderThumbW, kSliderThumbTop, kSliderThumbW, kSliderThumbLen, i == 1);
        DrawSliderThumb(c, s, i * kSliderThumbLen, vy, kSliderThumbLen, kSliderThumbW, i == 1);
    }
    auto& d = b.AddControl<skin::TbsDataSkinSlider>("slider");
    d.PictureIndex = b.AddPicture("slider.bmp", img);
    d.HRulerRect = Rect(0, 0, kSliderRulerLen, kSliderRulerThick);
    d.VRulerRect = Rect(vx, 0, vx + kSliderRulerThick, kSliderRulerLen);
    d.HThumbRect = Rect(0, kSliderThumbTop, 2 * kSliderThumbW, kSliderThumbTop + kSliderThumbLen);
    d.VThumbRect = Rect(0, vy, 2 * kSliderThumbLen, vy + kSliderThumbW);
    d.EdgeSize = kSliderRulerThick / 2;
    d.BGColor = s.background.Color();
    d.PointsColor = s.text.Mix(s.background, 0.4).Color();
}

// --- page control tabs, up/down pairs and scroll boxes -------------------------------------

constexpr int kTabW = 40, kTabH = 26, kTabCap = 6; // a tab's look; the selected one is 2 taller
constexpr int kPageSize = 40, kPageEdge = 2;       // the frame round the pages

// A tab at (x, y): rounded at the top, open at the bottom where it meets the pages.
void DrawTabLook(SkinCanvas& c, const SkinStyle& s, int x, int y, int h, const Rgb& face, const Rgb& border,
                 bool selected) {
    double r = std::min(std::max(s.radius, 2), 5);
    Box outer{double(x), double(y), double(x + kTabW), double(y + h + r + 1)};
    Box clip{double(x), double(y), double(x + kTabW), double(y + h)};
    c.Fill(
        clip, [&](double px, double py) { return SkinCanvas::RoundRectDistance(outer, r, px, py); },
        Solid(border));
    Box inner = outer.Inset(s.outline);
    Box innerClip{inner.l, inner.t, inner.r, double(y + h)};
    c.Fill(
        innerClip,
        [&](double px, double py) {
            return SkinCanvas::RoundRectDistance(inner, std::max(r - s.outline, 0.0), px, py);
        },
        Solid(face));
    if (selected)
        c.FillRect({double(x + 1), double(y + h - 1), double(x + kTabW - 1), double(y + h)}, Solid(face));
}

constexpr int kTabClose = 14; // a tab's close button, on the transparent key colour

// The close button's three looks side by side at (x, y): a cross, on a rounded face when hot
// or pressed; what is not the button is the key colour.
void DrawTabCloseButtons(Image& img, const SkinStyle& s, int x, int y) {
    const Rgb key{1, 0, 1};
    for (int yy = 0; yy < kTabClose; ++yy)
        for (int xx = 0; xx < 3 * kTabClose; ++xx) img.At(x + xx, y + yy) = key.Bgra();
    SkinCanvas c(img);
    for (int k = 0; k < 3; ++k) {
        double l = x + k * kTabClose;
        Box cell{l, double(y), l + kTabClose, double(y + kTabClose)};
        Rgb glyph = s.text;
        if (k > 0) {
            Rgb face = k == 1 ? s.accent : s.Pressed(s.accent);
            // Hard-edged: a blend with the key colour would show as a pink halo.
            for (int yy = 1; yy < kTabClose - 1; ++yy)
                for (int xx = 1; xx < kTabClose - 1; ++xx) img.At(int(l) + xx, y + yy) = face.Bgra();
            glyph = s.OnAccent();
        }
        double m = 3.5;
        c.Line({cell.l + m, cell.t + m}, {cell.r - m, cell.b - m}, s.glyph, glyph);
        c.Line({cell.r - m, cell.t + m}, {cell.l + m, cell.b - m}, s.glyph, glyph);
    }
    // Over the key an anti-aliased edge would show pink: the plain cross is snapped whole.
    for (int yy = 0; yy < kTabClose; ++yy)
        for (int xx = 0; xx < kTabClose; ++xx) {
            uint32_t& px = img.At(x + xx, y + yy);
            if (px != key.Bgra()) px = s.text.Bgra();
        }
}

void BuildTabs(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    // The frame at the top left, the close buttons right of it, then the normal, hot and
    // selected tabs side by side below.
    const int ty = kPageSize;
    Image img = SkinBuilder::NewImage(3 * kTabW, ty + kTabH + 2, s.background);
    SkinCanvas c(img);
    Rgb border = s.Border(), page = s.background;
    c.FillRect({0, 0, double(kPageSize), double(kPageSize)}, Solid(border));
    c.FillRect(Box{0, 0, double(kPageSize), double(kPageSize)}.Inset(s.outline), Solid(page));
    Rgb idle = s.background.Mix(border, s.Dark() ? 0.22 : 0.12);
    DrawTabLook(c, s, 0, ty, kTabH, idle, border, false);
    DrawTabLook(c, s, kTabW, ty, kTabH, HotFace(s, idle), border.Mix(s.accent, 0.5), false);
    DrawTabLook(c, s, 2 * kTabW, ty, kTabH + 2, page, border, true);
    DrawTabCloseButtons(img, s, kPageSize + 4, 4);
    auto& d = b.AddControl<skin::TbsDataSkinTabControl>("tab");
    d.PictureIndex = b.AddPicture("tab.bmp", img);
    d.SkinRect = Rect(0, 0, kPageSize, kPageSize);
    d.LTPoint = Point(kPageEdge, kPageEdge);
    d.RTPoint = Point(kPageSize - kPageEdge, kPageEdge);
    d.LBPoint = Point(kPageEdge, kPageSize - kPageEdge);
    d.RBPoint = Point(kPageSize - kPageEdge, kPageSize - kPageEdge);
    d.ClRect = Rect(kPageEdge, kPageEdge, kPageSize - kPageEdge, kPageSize - kPageEdge);
    d.LeftStretch = d.TopStretch = d.RightStretch = d.BottomStretch = true;
    d.TabRect = Rect(0, ty, kTabW, ty + kTabH);
    d.MouseInTabRect = Rect(kTabW, ty, 2 * kTabW, ty + kTabH);
    d.ActiveTabRect = Rect(2 * kTabW, ty, 3 * kTabW, ty + kTabH + 2);
    d.TabLeftOffset = d.TabRightOffset = kTabCap;
    d.TabStretchEffect = true;
    SetFont(d, s.text);
    d.ActiveFontColor = d.FocusFontColor = d.MouseInFontColor = s.text.Color();
    d.UpDown = "hupdown";
    int cx = kPageSize + 4;
    d.CloseButtonRect = Rect(cx, 4, cx + kTabClose, 4 + kTabClose);
    d.CloseButtonActiveRect = Rect(cx + kTabClose, 4, cx + 2 * kTabClose, 4 + kTabClose);
    d.CloseButtonDownRect = Rect(cx + 2 * kTabClose, 4, cx + 3 * kTabClose, 4 + kTabClose);
    d.ButtonTransparent = true;
    d.ButtonTransparentColor = Rgb{1, 0, 1}.Color();
}

constexpr int kStep = 18; // one button of an up/down pair

// A step button in the cell at (x, y) pointing along (dx, dy).
void DrawStepCell(SkinCanvas& c, const SkinStyle& s, int x, int y, int dx, int dy, PartLook look) {
    Box cell{double(x), double(y), double(x + kStep), double(y + kStep)};
    Rgb face = look == PartLook::Normal ? s.Face()
               : look == PartLook::Hot  ? HotFace(s, s.Face())
                                        : s.Pressed(s.Face());
    Rgb border = look == PartLook::Hot ? s.accent : s.Border();
    double r = std::min(s.radius, 3);
    c.FillRoundRect(cell.Inset(0.5), r, Solid(border));
    c.FillRoundRect(cell.Inset(0.5 + s.outline), std::max(r - s.outline, 0.0), Solid(face));
    double cx = x + kStep / 2.0, cy = y + kStep / 2.0;
    // The tip 3 pixels out along the direction, the base 4 pixels wide each side.
    Pt tip{cx + 3 * dx, cy + 3 * dy};
    Pt a{cx - 2 * dx - 4 * dy, cy - 2 * dy - 4 * dx}, b2{cx - 2 * dx + 4 * dy, cy - 2 * dy + 4 * dx};
    c.Triangle(tip, a, b2, s.text);
}

// The pair at its own size: the decreasing button first (left or top), then the increasing
// one; hot and pressed looks follow in the next rows (columns for the vertical pair).
void AddUpDown(SkinBuilder& b, const char* name, bool vertical) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(vertical ? 3 * kStep : 2 * kStep, vertical ? 2 * kStep : 3 * kStep,
                                      s.background);
    SkinCanvas c(img);
    const PartLook looks[3] = {PartLook::Normal, PartLook::Hot, PartLook::Pressed};
    for (int k = 0; k < 3; ++k) {
        if (vertical) {
            DrawStepCell(c, s, k * kStep, 0, 0, -1, looks[k]);
            DrawStepCell(c, s, k * kStep, kStep, 0, 1, looks[k]);
        } else {
            DrawStepCell(c, s, 0, k * kStep, -1, 0, looks[k]);
            DrawStepCell(c, s, kStep, k * kStep, 1, 0, looks[k]);
        }
    }
    auto& d = b.AddControl<skin::TbsDataSkinUpDownControl>(name);
    d.PictureIndex = b.AddPicture(std::string(name) + ".bmp", img);
    auto cell = [&](int along, int state) {
        return vertical ? Rect(state * kStep, along * kStep, (state + 1) * kStep, (along + 1) * kStep)
                        : Rect(along * kStep, state * kStep, (along + 1) * kStep, (state + 1) * kStep);
    };
    d.SkinRect = vertical ? Rect(0, 0, kStep, 2 * kStep) : Rect(0, 0, 2 * kStep, kStep);
    // Vertical: up (increasing) on top; horizontal: increasing on the right.
    int up = vertical ? 0 : 1, down = vertical ? 1 : 0;
    d.UpButtonRect = cell(up, 0);
    d.DownButtonRect = cell(down, 0);
    d.ActiveUpButtonRect = cell(up, 1);
    d.ActiveDownButtonRect = cell(down, 1);
    d.DownUpButtonRect = cell(up, 2);
    d.DownDownButtonRect = cell(down, 2);
}

void BuildUpDowns(SkinBuilder& b) {
    AddUpDown(b, "hupdown", false);
    AddUpDown(b, "vupdown", true);
}

constexpr int kBoxSize = 40;

void BuildScrollBox(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Image img = SkinBuilder::NewImage(kBoxSize, kBoxSize, s.background);
    SkinCanvas c(img);
    double r = std::min(s.radius, 4);
    Box box{0, 0, double(kBoxSize), double(kBoxSize)};
    c.FillRoundRect(box, r, Solid(s.Border()));
    c.FillRoundRect(box.Inset(s.outline), std::max(r - s.outline, 0.0), Solid(s.Window()));
    auto& d = b.AddControl<skin::TbsDataSkinScrollBoxControl>("scrollbox");
    d.PictureIndex = b.AddPicture("scrollbox.bmp", img);
    d.SkinRect = Rect(0, 0, kBoxSize, kBoxSize);
    SetNinePart(d, kBoxSize, kBoxSize, static_cast<int>(r) + 2);
    int edge = s.outline + 1;
    d.ClRect = Rect(edge, edge, kBoxSize - edge, kBoxSize - edge);
    d.StretchEffect = false; // the client is one colour: tiled, it needs no repaint as it scrolls
}

// --- list and tree views --------------------------------------------------------------------

// The views draw their rows natively: the skin gives their font and the window fill, which
// the column header (a tool button look) and the bars frame.
template <class D> void AddViewColours(SkinBuilder& b, const char* name) {
    const SkinStyle& s = b.Style();
    auto& d = b.AddControl<D>(name);
    SetFont(d, s.text);
    d.BGColor = s.Window().Color();
}

void BuildViews(SkinBuilder& b) {
    AddViewColours<skin::TbsDataSkinListView>(b, "listview");
    AddViewColours<skin::TbsDataSkinTreeView>(b, "treeview");
}

// --- dialogs -------------------------------------------------------------------------------

// The skin chooser's preview area: a recessed stage, a shade darker than the window (lighter
// on dark skins), so that a miniature form in any other skin stands out against it.
void BuildDialogs(SkinBuilder& b) {
    const SkinStyle& s = b.Style();
    Rgb stage = s.background.Mix(s.Dark() ? Rgb{1, 1, 1} : s.Border(), s.Dark() ? 0.06 : 0.16);
    Rgb border = s.background.Mix(s.Border(), 0.6);
    double r = std::min(s.radius, 4);
    auto& d = AddBox<skin::TbsDataSkinPanelControl>(b, "previewpanel", kPanelSize, kPanelSize, Solid(stage),
                                                    &border, r, static_cast<int>(r) + 3);
    SetFont(d, s.text);
}

} // namespace

const std::vector<SkinSection>& SkinSections() {
    static const std::vector<SkinSection> sections = {
        {"form",       BuildForm      }, // frame, mask, caption and caption buttons
        {"button",     BuildButton    }, // push, tool and menu tool buttons
        {"panel",      BuildPanel     }, // panels and group frames
        {"checkbox",   BuildCheckBox  }, // check boxes
        {"radiobox",   BuildRadioBox  }, // radio buttons
        {"scrollbars", BuildScrollBars}, // horizontal, vertical and beside-a-vertical bars
        {"toolpanels", BuildToolPanels}, // tool bars and the status bar
        {"labels",     BuildLabels    }, // standard and framed labels, menu headers, bevels
        {"splitters",  BuildSplitters }, // vertical and horizontal splitters
        {"edits",      BuildEdits     }, // edit and edit with a drop-down button
        {"listbox",    BuildListBox   }, // list frame and its rows
        {"combobox",   BuildComboBox  }, // list-only picker and its drop-down button
        {"slider",     BuildSlider    }, // the seek bar's ruler and thumb, both ways
        {"layerframe", BuildLayerFrame}, // the glow around forms, where the skin has one
        {"tabs",       BuildTabs      }, // the page control's frame and tabs
        {"updowns",    BuildUpDowns   }, // horizontal and vertical up/down pairs
        {"scrollbox",  BuildScrollBox }, // the scroll box's frame
        {"views",      BuildViews     }, // list and tree views: font and fill
        {"popupmenus", BuildPopupMenus}, // popup-menu windows and their rows
        {"menubar",    BuildMenuBar   }, // the main menu bar, its items and MDI buttons
        {"hints",      BuildHints     }, // the hint window
        {"dialogs",    BuildDialogs   }, // the skin chooser's preview stage
    };
    return sections;
}

} // namespace skingen

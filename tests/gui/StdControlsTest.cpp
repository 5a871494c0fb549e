#include "GuiHarness.h"
#include "gui/Bevel.h"
#include "gui/Bitmap.h"
#include "gui/ButtonControl.h"
#include "gui/Canvas.h"
#include "gui/Clipboard.h"
#include "gui/CustomEdit.h"
#include "gui/CustomLabel.h"
#include "gui/CustomPanel.h"
#include "gui/Image.h"
#include "gui/ProgressBar.h"
#include "gui/Splitter.h"
#include "gui/StdCtrls.h"
#include "gui/StringList.h"
#include "gui/TrackBar.h"
#include "win/Input.h"

#include <climits>
#include <string>
#include <vector>

using namespace gui;

namespace {

class StdControlsTest : public GuiTest {
protected:
    TForm* Form(TColor color = clBtnFace) {
        auto* f = MakeForm<TForm>();
        f->SetBorderStyle(bsNone);
        f->SetBounds(100, 100, 400, 300);
        f->SetColor(color);
        return f;
    }
    template <class T> T* Add(TWinControl* parent, TRect bounds) {
        T* c = new T(parent);
        c->SetBoundsRect(bounds);
        c->SetParent(parent);
        return c;
    }
    static void Show(TForm* f) {
        f->Show();
        RunUntilIdle();
    }
    // The box around every pixel of a control that is not the background.
    struct Ink {
        int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
        bool Any() const { return right >= 0; }
    };
    static Ink InkOf(TControl* c, COLORREF background) {
        Ink ink;
        for (int y = 0; y < c->Height(); ++y)
            for (int x = 0; x < c->Width(); ++x)
                if (PixelAt(c, x, y) != background) {
                    ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                    ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
                }
        return ink;
    }
    static bool HasColor(TControl* c, COLORREF color) {
        for (int y = 0; y < c->Height(); ++y)
            for (int x = 0; x < c->Width(); ++x)
                if (PixelAt(c, x, y) == color) return true;
        return false;
    }
    // A press at one client point of a control, moves to others, the release at the last.
    static void Drag(TControl* c, TPoint from, TPoint to) {
        POINT a = ScreenOf(c, from.x, from.y);
        D().MoveMouse(a.x, a.y);
        D().Press();
        RunUntilIdle();
        D().MoveMouse(a.x + (to.x - from.x) / 2, a.y + (to.y - from.y) / 2);
        RunUntilIdle();
        D().MoveMouse(a.x + to.x - from.x, a.y + to.y - from.y);
        RunUntilIdle();
        D().Release();
        RunUntilIdle();
    }
    static TSize TextSize(TFont* font, const std::string& text) {
        TBitmap b;
        b.SetSize(1, 1);
        b.Canvas()->Font()->Assign(font);
        return b.Canvas()->TextExtent(text);
    }
};

COLORREF Rgb(TColor c) {
    return ColorToRGB(c);
}

// ---- labels

TEST_F(StdControlsTest, LabelSizesItselfToChineseTextAndKeepsItsRightEdgeWhenRightAligned) {
    auto* f = Form();
    auto* l = Add<TLabel>(f, Bounds(10, 10, 5, 5));
    l->SetCaption("输出格式：");
    TSize s = TextSize(l->Font(), "输出格式：");
    EXPECT_EQ(l->BoundsRect(), Bounds(10, 10, s.cx, s.cy));
    // The empty label keeps a line's height.
    l->SetCaption("");
    EXPECT_EQ(l->Height(), s.cy);

    l->SetAlignment(taRightJustify);
    l->SetCaption("输出目录：");
    int right = l->Left() + l->Width();
    l->SetCaption("输出目录和文件名：");
    EXPECT_EQ(l->Left() + l->Width(), right);
    EXPECT_EQ(l->Width(), TextSize(l->Font(), "输出目录和文件名：").cx);

    // Wrapped, it keeps its width and grows downwards.
    auto* w = Add<TLabel>(f, Bounds(10, 50, 60, 10));
    w->SetWordWrap(true);
    w->SetCaption("转换完成后打开输出文件夹");
    EXPECT_LE(w->Width(), 60);
    EXPECT_GE(w->Height(), 3 * s.cy);
}

TEST_F(StdControlsTest, LabelPlacesItsTextByAlignmentAndLayout) {
    struct Case {
        TAlignment alignment;
        TTextLayout layout;
    };
    const Case cases[] = {
        {taLeftJustify,  tlTop   },
        {taRightJustify, tlBottom},
        {taCenter,       tlCenter},
    };
    auto* f = Form();
    auto* l = Add<TLabel>(f, Bounds(10, 10, 10, 10));
    l->SetAutoSize(false);
    l->SetBounds(10, 10, 200, 40);
    l->SetColor(clWhite);
    l->SetCaption("视频预览");
    Show(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment * 10 + c.layout);
        l->SetAlignment(c.alignment);
        l->SetLayout(c.layout);
        RunUntilIdle();
        Ink ink = InkOf(l, RGB(255, 255, 255));
        ASSERT_TRUE(ink.Any());
        if (c.alignment == taLeftJustify) {
            EXPECT_LE(ink.left, 3);
        }
        if (c.alignment == taRightJustify) {
            EXPECT_GE(ink.right, 196);
        }
        if (c.alignment == taCenter) {
            EXPECT_NEAR(ink.left + ink.right, 200, 4);
        }
        if (c.layout == tlTop) {
            EXPECT_LE(ink.top, 5);
        }
        if (c.layout == tlBottom) {
            EXPECT_GE(ink.bottom, 35);
        }
        if (c.layout == tlCenter) {
            EXPECT_NEAR(ink.top + ink.bottom, 40, 5);
        }
    }
}

TEST_F(StdControlsTest, LabelTransparencyDisabledLookAndAccelerator) {
    auto* f = Form(clRed);
    auto* l = Add<TLabel>(f, Bounds(10, 10, 10, 10));
    l->SetCaption("&Open");
    l->SetColor(clBlue);
    auto* other = Add<TLabel>(f, Bounds(10, 40, 10, 10));
    other->SetCaption("停止");
    auto* target = Add<TButton>(f, Bounds(10, 80, 75, 25));
    auto* button = Add<TButton>(f, Bounds(10, 110, 75, 25));
    l->SetFocusControl(target);
    Show(f);
    EXPECT_EQ(PixelAt(l, 0, 0), Rgb(clBlue));
    l->SetTransparent(true);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(l, 0, 0), Rgb(clRed));

    // Disabled text is engraved: highlight beneath, shadow on top.
    other->SetColor(clBtnFace);
    other->SetEnabled(false);
    RunUntilIdle();
    // Text is smoothed, so the two colours show as the lightest and darkest greys.
    int lightest = 0, darkest = 255;
    for (int y = 0; y < other->Height(); ++y)
        for (int x = 0; x < other->Width(); ++x) {
            int v = GetGValue(PixelAt(other, x, y));
            lightest = std::max(lightest, v), darkest = std::min(darkest, v);
        }
    EXPECT_GT(lightest, GetGValue(Rgb(clBtnFace)));
    EXPECT_GE(darkest, GetGValue(Rgb(clBtnShadow)));
    EXPECT_LT(darkest, GetGValue(Rgb(clBtnFace)) - 40);

    // Its accelerator focuses the control it names.
    button->SetFocus();
    RunUntilIdle();
    D().KeyDown(VK_MENU);
    D().Key('O');
    D().KeyUp(VK_MENU);
    RunUntilIdle();
    EXPECT_TRUE(target->Focused());
    button->SetFocus();
    delete target;
    EXPECT_EQ(l->FocusControl(), nullptr);
}

// ---- bevel and panel

TEST_F(StdControlsTest, BevelShapesDrawTheirLinesInShadowAndHighlight) {
    const COLORREF sh = Rgb(clBtnShadow), hi = Rgb(clBtnHighlight), face = Rgb(clBtnFace);
    struct Case {
        TBevelShape shape;
        TBevelStyle style;
        std::vector<std::pair<TPoint, COLORREF>> pixels; // on a 40 x 30 bevel
    };
    const Case cases[] = {
        {bsBox,        bsLowered, {{{0, 5}, sh}, {{5, 0}, sh}, {{39, 5}, hi}, {{5, 29}, hi}, {{5, 5}, face}}},
        {bsBox,        bsRaised,  {{{0, 5}, hi}, {{39, 5}, sh}, {{5, 29}, sh}}                              },
        {bsFrame,      bsLowered, {{{0, 5}, sh}, {{1, 5}, hi}, {{38, 5}, sh}, {{39, 5}, hi}}                },
        {bsTopLine,    bsLowered, {{{5, 0}, sh}, {{5, 1}, hi}, {{5, 2}, face}}                              },
        {bsBottomLine, bsRaised,  {{{5, 28}, hi}, {{5, 29}, sh}, {{5, 27}, face}}                           },
        {bsLeftLine,   bsLowered, {{{0, 5}, sh}, {{1, 5}, hi}}                                              },
        {bsRightLine,  bsLowered, {{{38, 5}, sh}, {{39, 5}, hi}, {{0, 5}, face}}                            },
        {bsSpacer,     bsLowered, {{{0, 5}, face}, {{5, 0}, face}}                                          },
    };
    auto* f = Form();
    auto* b = Add<TBevel>(f, Bounds(20, 20, 40, 30));
    Show(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.shape) * 10 + c.style);
        b->SetShape(c.shape);
        b->SetStyle(c.style);
        RunUntilIdle();
        for (auto [p, color] : c.pixels) EXPECT_EQ(PixelAt(b, p.x, p.y), color) << p.x << "," << p.y;
    }
}

TEST_F(StdControlsTest, PanelAlignsChildrenInsideItsBevelsAndCentresItsCaption) {
    struct Case {
        TPanelBevel outer, inner;
        int inset;
    };
    const Case cases[] = {
        {bvRaised,  bvNone,   1},
        {bvNone,    bvNone,   0},
        {bvLowered, bvRaised, 2},
    };
    auto* f = Form();
    auto* p = Add<TPanel>(f, Bounds(10, 10, 200, 120));
    auto* child = Add<TPanel>(p, Bounds(0, 0, 10, 10));
    child->SetAlign(alClient);
    child->SetColor(clBlack);
    Show(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inset);
        p->SetBevelOuter(c.outer);
        p->SetBevelInner(c.inner);
        RunUntilIdle();
        EXPECT_EQ(child->BoundsRect(), Rect(c.inset, c.inset, 200 - c.inset, 120 - c.inset));
    }
    p->SetBevelOuter(bvRaised);
    p->SetBevelInner(bvNone);
    RunUntilIdle();
    EXPECT_EQ(PixelAt(p, 0, 50), Rgb(clBtnHighlight));
    EXPECT_EQ(PixelAt(p, 199, 50), Rgb(clBtnShadow));

    // The caption sits in the middle of an empty panel.
    delete child;
    p->SetCaption("视频预览");
    RunUntilIdle();
    TRect inside{1, 1, 199, 119};
    Ink ink;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
            if (PixelAt(p, x, y) != Rgb(clBtnFace)) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
    ASSERT_TRUE(ink.Any());
    EXPECT_NEAR(ink.left + ink.right, 200, 4);
    EXPECT_NEAR(ink.top + ink.bottom, 120, 5);
}

// ---- splitter

TEST_F(StdControlsTest, SplitterDragResizesItsNeighbourWithinTheLimits) {
    struct Case {
        TAlign align;
        int drag; // along the split
        int size; // of the neighbour afterwards
    };
    // The form is 400 x 300; the neighbour starts at 100, the splitter is 3 thick.
    const Case cases[] = {
        {alLeft,   50,   150},
        {alLeft,   -200, 30 }, // MinSize
        {alLeft,   500,  367}, // the rest keeps MinSize: 400 - 3 - 30
        {alRight,  -50,  150},
        {alTop,    40,   140},
        {alBottom, 60,   40 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.align) * 1000 + c.drag);
        auto* f = Form();
        bool vertical = c.align == alTop || c.align == alBottom;
        // Placed so that alignment puts the splitter right beside the neighbour.
        TRect nb = c.align == alLeft    ? Bounds(0, 0, 100, 300)
                   : c.align == alRight ? Bounds(300, 0, 100, 300)
                   : c.align == alTop   ? Bounds(0, 0, 400, 100)
                                        : Bounds(0, 200, 400, 100);
        TRect sb = c.align == alLeft    ? Bounds(100, 0, 3, 300)
                   : c.align == alRight ? Bounds(297, 0, 3, 300)
                   : c.align == alTop   ? Bounds(0, 100, 400, 3)
                                        : Bounds(0, 197, 400, 3);
        auto* neighbour = Add<TPanel>(f, nb);
        neighbour->SetAlign(c.align);
        auto* s = new TSplitter(f);
        s->SetAlign(c.align);
        s->SetBoundsRect(sb);
        s->SetParent(f);
        auto* rest = Add<TPanel>(f, Bounds(150, 150, 10, 10));
        rest->SetAlign(alClient);
        Show(f);
        ASSERT_EQ(s->BoundsRect(), sb);
        EXPECT_EQ(s->Cursor(), vertical ? crSizeNS : crSizeWE);
        TPoint mid{s->Width() / 2, s->Height() / 2};
        Drag(s, mid, vertical ? TPoint{mid.x, mid.y + c.drag} : TPoint{mid.x + c.drag, mid.y});
        EXPECT_EQ(vertical ? neighbour->Height() : neighbour->Width(), c.size);
        // The splitter and the rest follow.
        TRect n = neighbour->BoundsRect();
        TRect expected = c.align == alLeft    ? Bounds(n.right, 0, 3, 300)
                         : c.align == alRight ? Bounds(n.left - 3, 0, 3, 300)
                         : c.align == alTop   ? Bounds(0, n.bottom, 400, 3)
                                              : Bounds(0, n.top - 3, 400, 3);
        EXPECT_EQ(s->BoundsRect(), expected);
        EXPECT_GE(vertical ? rest->Height() : rest->Width(), 30);
        delete f;
    }
}

// ---- check boxes and radio buttons

TEST_F(StdControlsTest, CheckBoxTogglesByClickAndSpaceReleaseAndCyclesThroughGrayed) {
    auto* f = Form();
    auto* b = Add<TCheckBox>(f, Bounds(10, 10, 120, 20));
    b->SetCaption("预览");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    Show(f);
    EXPECT_EQ(PixelAt(b, 6, 10), Rgb(clWindow));
    ClickAt(b, 60, 10);
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(clicks, 1);
    // The tick shows inside the box.
    bool tick = false;
    for (int y = 5; y < 15; ++y) tick = tick || PixelAt(b, 6, y) == Rgb(clWindowText);
    EXPECT_TRUE(tick);

    // Neither a right click nor a press released outside toggles.
    POINT p = ScreenOf(b, 60, 10);
    D().Click(p.x, p.y, 1);
    RunUntilIdle();
    Drag(b, {60, 10}, {60, 60});
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(clicks, 1);

    // Space acts on its release.
    D().KeyDown(VK_SPACE);
    RunUntilIdle();
    EXPECT_TRUE(b->Checked());
    D().KeyUp(VK_SPACE);
    RunUntilIdle();
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(clicks, 2);

    b->AllowGrayed = true;
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        ClickAt(b, 5, 10);
        seen.push_back(b->State());
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    // From code: a grayed box stays grayed when unchecked; no change fires nothing.
    b->SetState(cbGrayed);
    clicks = 0;
    b->SetChecked(false);
    EXPECT_EQ(b->State(), cbGrayed);
    EXPECT_EQ(clicks, 0);
    b->SetChecked(true);
    EXPECT_EQ(clicks, 1);
}

TEST_F(StdControlsTest, RadioButtonsExcludeTheirSiblingsAndFollowTheKeyboard) {
    auto* f = Form();
    auto* before = Add<TButton>(f, Bounds(10, 250, 75, 25));
    auto* g1 = Add<TPanel>(f, Bounds(10, 10, 150, 100));
    auto* g2 = Add<TPanel>(f, Bounds(200, 10, 150, 100));
    before->SetTabOrder(0);
    std::vector<std::string> log;
    auto make = [&](TPanel* g, const std::string& name, int i) {
        auto* r = Add<TRadioButton>(g, Bounds(5, 5 + 25 * i, 120, 20));
        r->SetName(name);
        r->SetCaption("选项" + name);
        r->OnClick = [&log, name](TObject*) { log.push_back(name); };
        return r;
    };
    TRadioButton* a[3] = {make(g1, "a0", 0), make(g1, "a1", 1), make(g1, "a2", 2)};
    TRadioButton* b0 = make(g2, "b0", 0);
    Show(f);

    ClickAt(a[1], 6, 10);
    b0->SetChecked(true);
    EXPECT_TRUE(a[1]->Checked()); // another parent, another group
    ClickAt(a[2], 30, 10);
    ClickAt(a[2], 30, 10); // already checked: nothing
    EXPECT_FALSE(a[1]->Checked());
    EXPECT_TRUE(a[2]->Checked());
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "b0", "a2"}));
    EXPECT_EQ(PixelAt(a[2], 6, 10), Rgb(clWindowText));
    EXPECT_EQ(PixelAt(a[1], 6, 10), Rgb(clWindow));

    // Arrows move the choice round the group, Tab reaches the group at its checked button.
    log.clear();
    PressKey(VK_DOWN);
    EXPECT_TRUE(a[0]->Focused());
    EXPECT_TRUE(a[0]->Checked());
    PressKey(VK_UP);
    EXPECT_TRUE(a[2]->Focused());
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "a2"}));
    before->SetFocus();
    RunUntilIdle();
    PressKey(VK_TAB);
    EXPECT_TRUE(a[2]->Focused());
}

TEST_F(StdControlsTest, CheckBoxAcceleratorFocusesAndToggles) {
    auto* f = Form();
    auto* button = Add<TButton>(f, Bounds(10, 50, 75, 25));
    auto* b = Add<TCheckBox>(f, Bounds(10, 10, 120, 20));
    b->SetCaption("&Preview");
    Show(f);
    button->SetFocus();
    RunUntilIdle();
    D().Type(U"p");
    RunUntilIdle();
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(b->Focused());
}

TEST_F(StdControlsTest, AltAcceleratorsReachControlsWhileAnEditHasTheFocus) {
    // An edit wants plain characters, not Alt+letter: those stay the form's accelerators.
    auto* f = Form();
    auto* edit = Add<TEdit>(f, Bounds(10, 50, 120, 22));
    auto* b = Add<TCheckBox>(f, Bounds(10, 10, 120, 20));
    b->SetCaption("&Preview");
    Show(f);
    edit->SetFocus();
    RunUntilIdle();
    D().KeyDown(VK_MENU);
    D().Key('P');
    D().KeyUp(VK_MENU);
    RunUntilIdle();
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(edit->Text(), "");
    // A plain P is the edit's.
    edit->SetFocus();
    RunUntilIdle();
    D().Type(U"p");
    RunUntilIdle();
    EXPECT_EQ(edit->Text(), "p");
    EXPECT_TRUE(b->Checked());
}

// ---- track bar and progress bar

TEST_F(StdControlsTest, TrackBarMovesByKeys) {
    struct Case {
        int key;
        int position; // from 5 in 0..10
    };
    const Case cases[] = {
        {VK_RIGHT, 6 },
        {VK_DOWN,  6 },
        {VK_LEFT,  4 },
        {VK_UP,    4 },
        {VK_NEXT,  7 },
        {VK_PRIOR, 3 },
        {VK_HOME,  0 },
        {VK_END,   10},
    };
    auto* f = Form();
    auto* t = Add<TTrackBar>(f, Bounds(10, 10, 200, 45));
    Add<TButton>(f, Bounds(10, 100, 75, 25));
    int changes = 0;
    t->OnChange = [&](TObject*) { ++changes; };
    Show(f);
    t->SetFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        t->SetPosition(5);
        changes = 0;
        PressKey(c.key);
        EXPECT_EQ(t->Position(), c.position);
        EXPECT_EQ(changes, 1);
        EXPECT_TRUE(t->Focused()); // the arrows stay with the track bar
    }
    // The ends hold.
    PressKey(VK_RIGHT);
    EXPECT_EQ(t->Position(), 10);
}

TEST_F(StdControlsTest, TrackBarFollowsTheMouseAndClampsItsPosition) {
    auto* f = Form();
    auto* t = Add<TTrackBar>(f, Bounds(10, 10, 200, 45));
    t->SetRange(0, 10);
    std::vector<int> changes;
    t->OnChange = [&](TObject*) { changes.push_back(t->Position()); };
    Show(f);
    auto centre = [&] {
        TRect r = t->ThumbRect();
        return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    TRect thumb = t->ThumbRect();
    EXPECT_EQ(PixelAt(t, thumb.left + 1, thumb.top + 5), Rgb(clBtnHighlight));
    TPoint at0 = centre();
    Drag(t, at0, {at0.x + 500, at0.y});
    EXPECT_EQ(t->Position(), 10);
    EXPECT_TRUE(t->Focused());
    TPoint at10 = centre();
    // Dropped on the place of value 3.
    Drag(t, at10, {at0.x + (at10.x - at0.x) * 3 / 10, at10.y});
    EXPECT_EQ(t->Position(), 3);
    // A click beside the thumb moves a page toward it.
    ClickAt(t, 190, 20);
    EXPECT_EQ(t->Position(), 5);
    ClickAt(t, 2, 20);
    EXPECT_EQ(t->Position(), 3);

    // From code: clamped, and OnChange only on a change.
    changes.clear();
    t->SetPosition(50);
    t->SetPosition(50);
    t->SetRange(128, 0);
    t->SetPosition(128);
    t->SetMin(100);
    EXPECT_EQ(changes, (std::vector<int>{10, 128}));
    EXPECT_EQ(t->Min(), 100);
    t->SetMax(110);
    EXPECT_EQ(t->Position(), 110);
}

TEST_F(StdControlsTest, ProgressBarClampsItsPositionAndFillsItsShare) {
    struct Case {
        int min, max, position, expected;
    };
    const Case cases[] = {
        {0,  100, 150, 100},
        {0,  100, -5,  0  },
        {10, 20,  15,  15 },
        {20, 10,  5,   10 }, // a range given backwards
    };
    auto* f = Form();
    auto* p = Add<TProgressBar>(f, Bounds(10, 10, 204, 16));
    for (const Case& c : cases) {
        p->SetRange(c.min, c.max);
        p->SetPosition(c.position);
        EXPECT_EQ(p->Position(), c.expected) << c.position;
    }
    p->SetRange(0, 100);
    p->SetPosition(80);
    p->SetMax(50);
    EXPECT_EQ(p->Position(), 50);
    p->SetMax(100);
    Show(f);
    // Half-way: the inner 200 pixels are filled up to 100.
    EXPECT_EQ(PixelAt(p, 2 + 90, 8), Rgb(clHighlight));
    EXPECT_EQ(PixelAt(p, 2 + 110, 8), Rgb(clBtnFace));
    EXPECT_EQ(PixelAt(p, 0, 8), Rgb(clBtnShadow));
}

// ---- image and clipboard

TEST_F(StdControlsTest, ImageDrawsAtTheCornerCentredOrStretched) {
    // A 20 x 10 picture: red, with a blue bottom-left pixel that transparency leaves out.
    TBitmap pic;
    pic.SetSize(20, 10);
    pic.Canvas()->Brush()->SetColor(clRed);
    pic.Canvas()->FillRect({0, 0, 20, 10});
    pic.Canvas()->SetPixels(0, 9, clBlue);
    const COLORREF red = Rgb(clRed), blue = Rgb(clBlue), face = Rgb(clBtnFace);
    struct Case {
        bool stretch, center, transparent;
        std::vector<std::pair<TPoint, COLORREF>> pixels; // on a 60 x 40 image
    };
    const Case cases[] = {
        {false, false, false, {{{5, 5}, red}, {{0, 9}, blue}, {{25, 5}, face}, {{30, 20}, face}}},
        {false, true,  false, {{{30, 20}, red}, {{5, 5}, face}, {{20, 24}, blue}}               },
        {true,  false, false, {{{55, 5}, red}, {{30, 20}, red}, {{1, 38}, blue}}                },
        {false, false, true,  {{{5, 5}, red}, {{0, 9}, face}}                                   },
    };
    auto* f = Form();
    auto* img = Add<TImage>(f, Bounds(10, 10, 60, 40));
    img->Picture()->SetGraphic(&pic);
    Show(f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stretch * 100 + c.center * 10 + c.transparent);
        img->SetStretch(c.stretch);
        img->SetCenter(c.center);
        img->SetTransparent(c.transparent);
        RunUntilIdle();
        for (auto [p, color] : c.pixels) EXPECT_EQ(PixelAt(img, p.x, p.y), color) << p.x << "," << p.y;
    }
    // Sized to its picture when asked.
    img->SetAutoSize(true);
    EXPECT_EQ(img->BoundsRect(), Bounds(10, 10, 20, 10));
}

TEST_F(StdControlsTest, ClipboardTextRoundTrip) {
    TClipboard* c = Clipboard();
    c->SetAsText("转换完成\n第二行");
    EXPECT_EQ(c->AsText(), "转换完成\n第二行");
    EXPECT_TRUE(c->HasFormat(CF_TEXT));
    EXPECT_TRUE(c->HasFormat(CF_UNICODETEXT));
    TStringList lines;
    lines.Add("一");
    lines.Add("二");
    c->Assign(&lines);
    EXPECT_EQ(c->AsText(), lines.Text());
    TFont font;
    EXPECT_ANY_THROW(c->Assign(&font));
    EXPECT_EQ(c->AsText(), lines.Text()); // untouched by the failed assignment
    c->Clear();
    EXPECT_FALSE(c->HasFormat(CF_TEXT));
    EXPECT_EQ(c->AsText(), "");
}

} // namespace

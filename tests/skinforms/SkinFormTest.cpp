// The skinned form: the default frame (its insets, limits, hit codes and pixels), the frame
// messages kept from the form's own procedure, and the frame cut from a stored skin.
#include "skin/forms/SkinForm.h"
#include "../skincontrols/ControlFixtures.h"
#include "gdi/Region.h"
#include "gui/Color.h"
#include "skin/forms/SkinTrayIcon.h"
#include "win/Styles.h"
#include "win/System.h"

#include <set>

using namespace controltest;

namespace {

// Records the messages that reach the form's own procedure.
class SpyForm : public gui::TForm {
public:
    using gui::TForm::TForm;
    std::multiset<UINT> seen;
    void WndProc(gui::TMessage& m) override {
        seen.insert(m.Msg);
        gui::TForm::WndProc(m);
    }
};

class SkinFormTest : public GuiTest {
protected:
    SpyForm* MakeSkinned(gui::TFormBorderStyle style, int w = 300, int h = 200) {
        form = MakeForm<SpyForm>();
        form->SetBorderStyle(style);
        form->SetBounds(100, 100, w, h);
        form->SetCaption("Frame");
        skinForm = new skin::TbsSkinForm(form);
        form->Show();
        RunUntilIdle();
        return form;
    }
    LRESULT HitAt(int x, int y) { // window coordinates
        RECT wr;
        GetWindowRect(form->Handle(), &wr);
        return SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y));
    }
    COLORREF WindowPixel(int x, int y) {
        const gdi::Bitmap* b = win::GetWindowSurface(form->Handle());
        if (!b) return CLR_INVALID;
        uint32_t v = b->View().Get(x, y);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    SpyForm* form = nullptr;
    skin::TbsSkinForm* skinForm = nullptr;
};

TEST_F(SkinFormTest, DefaultFrameInsetsAndLimitsFollowTheBorderStyle) {
    struct Case {
        gui::TFormBorderStyle style;
        int caption; // -1: no frame at all
    } cases[] = {
        {gui::bsSizeable,    19},
        {gui::bsSingle,      19},
        {gui::bsDialog,      19},
        {gui::bsToolWindow,  15},
        {gui::bsSizeToolWin, 15},
        {gui::bsNone,        -1}
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        MakeSkinned(c.style);
        gui::TRect r = form->ClientRect();
        if (c.caption < 0) {
            EXPECT_EQ(gui::RectWidth(r), 300);
            EXPECT_EQ(gui::RectHeight(r), 200);
        } else {
            EXPECT_EQ(gui::RectWidth(r), 294);
            EXPECT_EQ(gui::RectHeight(r), 200 - c.caption - 6);
            POINT origin = form->ClientToScreen({0, 0});
            EXPECT_EQ(origin.x, 103);
            EXPECT_EQ(origin.y, 100 + c.caption + 3);
            EXPECT_EQ(skinForm->GetMinWidth(), 120);
            EXPECT_EQ(skinForm->GetMinHeight(), c.caption + 6);
            MINMAXINFO mmi{};
            SendMessage(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
            EXPECT_EQ(mmi.ptMinTrackSize.x, 120);
            EXPECT_EQ(mmi.ptMinTrackSize.y, c.caption + 6);
        }
        delete form;
        RunUntilIdle();
    }
}

TEST_F(SkinFormTest, DefaultFrameHitCodes) {
    struct Case {
        gui::TFormBorderStyle style;
        bool alwaysResize;
        int x, y;
        LRESULT hit;
    } cases[] = {
        {gui::bsSizeable, false, 0,   0,   HTTOPLEFT    },
        {gui::bsSizeable, false, 299, 0,   HTTOPRIGHT   },
        {gui::bsSizeable, false, 0,   199, HTBOTTOMLEFT },
        {gui::bsSizeable, false, 299, 199, HTBOTTOMRIGHT},
        {gui::bsSizeable, false, 2,   100, HTLEFT       },
        {gui::bsSizeable, false, 150, 2,   HTTOP        },
        {gui::bsSizeable, false, 298, 100, HTRIGHT      },
        {gui::bsSizeable, false, 150, 198, HTBOTTOM     },
        {gui::bsSizeable, false, 297, 100, HTOBJECT     }, // the right and bottom zones are 2 pixels
        {gui::bsSizeable, false, 150, 10,  HTCAPTION    },
        {gui::bsSizeable, false, 150, 100, HTCLIENT     },
        {gui::bsSizeable, false, 150, 20,  HTOBJECT     }, // between the caption and the client
        {gui::bsSizeable, false, 3,   100, HTCLIENT     },
        {gui::bsSingle,   false, 0,   0,   HTOBJECT     },
        {gui::bsSingle,   false, 150, 1,   HTOBJECT     },
        {gui::bsSingle,   false, 150, 10,  HTCAPTION    },
        {gui::bsSingle,   true,  0,   0,   HTTOPLEFT    },
        {gui::bsSingle,   true,  299, 100, HTRIGHT      },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y << " style " << int(c.style));
        if (!form || form->BorderStyle() != c.style) {
            delete form;
            MakeSkinned(c.style);
        }
        skinForm->AlwaysResize = c.alwaysResize;
        EXPECT_EQ(HitAt(c.x, c.y), c.hit);
    }
}

TEST_F(SkinFormTest, DefaultFramePaintsThreeRectanglesAndCaptionLines) {
    MakeSkinned(gui::bsSizeable);
    using gui::ColorToRGB;
    struct Case {
        int x, y;
        gui::TColor colour;
    } cases[] = {
        {0,   100, gui::cl3DLight     },
        {150, 0,   gui::cl3DLight     },
        {299, 100, gui::cl3DDkShadow  },
        {150, 199, gui::cl3DDkShadow  },
        {299, 0,   gui::cl3DDkShadow  },
        {0,   199, gui::cl3DDkShadow  },
        {1,   100, gui::clBtnHighlight},
        {150, 1,   gui::clBtnHighlight},
        {298, 100, gui::clBtnShadow   },
        {150, 198, gui::clBtnShadow   },
        {2,   100, gui::clBtnFace     },
        {297, 100, gui::clBtnFace     },
        {150, 2,   gui::clBtnFace     },
        {150, 197, gui::clBtnFace     },
        {40,  5,   gui::clBtnHighlight},
        {40,  6,   gui::clBtnShadow   }, // caption lines from y = 2
        {40,  3,   gui::clBtnFace     },
        {150, 100, gui::clBtnFace     },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(WindowPixel(c.x, c.y), ColorToRGB(c.colour));
    }
}

TEST_F(SkinFormTest, FrameMessagesNeverReachTheFormWhileSkinnable) {
    MakeSkinned(gui::bsSizeable);
    form->SetBounds(120, 110, 320, 240);
    form->SetCaption("Renamed");
    HitAt(150, 10);
    InvalidateRect(form->Handle(), nullptr, TRUE);
    RunUntilIdle();
    for (UINT msg : {WM_NCCALCSIZE, WM_NCHITTEST, WM_NCPAINT, WM_ERASEBKGND})
        EXPECT_EQ(form->seen.count(msg), 0u) << msg;

    HWND h = form->Handle();
    EXPECT_EQ(SendMessage(h, skin::WM_BSQUERYSKINNABLE, 0, 0), 12853);
    EXPECT_EQ(SendMessage(h, skin::WM_BSPAINTFRAMETODC, 0, 0), 0); // no device context
    EXPECT_EQ(SendMessage(h, skin::WM_BSPAINTFRAMETODC2, 0, 16802), 16802);
    EXPECT_EQ(form->seen.count(skin::WM_BSPAINTFRAMETODC2), 0u);
    SendMessage(h, skin::WM_BSPAINTFRAMETODC2, 0, 1);
    EXPECT_EQ(form->seen.count(skin::WM_BSPAINTFRAMETODC2), 1u);
    EXPECT_EQ(skinForm->GetProductVersion(), "7.81");
    EXPECT_EQ(skin::FindSkinFormComponent(form), skinForm);
}

TEST_F(SkinFormTest, OwnerThatIsNoFormIsRefused) {
    gui::TComponent owner(nullptr);
    EXPECT_THROW(skin::TbsSkinForm{&owner}, std::bad_cast);
}

TEST_F(SkinFormTest, FreedComponentsLeaveEveryFieldThatNamedThem) {
    MakeSkinned(gui::bsSizeable);
    auto* data = new skin::TbsSkinData(gui::Application);
    skinForm->SetSkinData(data);
    skinForm->SetMenusSkinData(data);
    auto* images = new gui::TImageList(gui::Application);
    skinForm->SetQuickImageList(images);
    delete data;
    EXPECT_EQ(skinForm->SkinData(), nullptr);
    EXPECT_EQ(skinForm->MenusSkinData(), nullptr);
    delete images;
    EXPECT_EQ(skinForm->QuickImageList(), nullptr);
    auto* tray = new skin::TbsTrayIcon(form);
    skinForm->SetTrayIcon(tray);
    delete tray;
    EXPECT_EQ(skinForm->TrayIcon(), nullptr);
}

TEST_F(SkinFormTest, FreedSkinDataLeavesTheDefaultLookBehind) {
    auto* data = new skin::TbsSkinData(gui::Application);
    data->SetSkinList(&StoredSkins());
    ASSERT_FALSE(data->Empty);
    MakeSkinned(gui::bsSizeable, data->FPicture.Width(), data->FPicture.Height());
    skinForm->SetSkinData(data);
    RunUntilIdle();
    ASSERT_TRUE(skinForm->SkinSupport());
    int w = form->Width(), h = form->Height();
    delete data;
    EXPECT_EQ(skinForm->SkinData(), nullptr);
    EXPECT_FALSE(skinForm->SkinSupport());
    // The next paint, the limits, hit tests and the mouse over the old buttons use no skin.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    RunUntilIdle();
    EXPECT_EQ(skinForm->GetMinWidth(), 120);
    EXPECT_EQ(skinForm->GetMinHeight(), 25);
    EXPECT_EQ(HitAt(w / 2, 10), HTCAPTION);
    D().MoveMouse(form->Left() + w - 10, form->Top() + 10);
    Advance(60);
    form->SetBounds(100, 100, w + 20, h + 20);
    RunUntilIdle();
    EXPECT_EQ(gui::RectWidth(form->ClientRect()), w + 20 - 6);
    EXPECT_EQ(WindowPixel(0, (h + 20) / 2), gui::ColorToRGB(gui::cl3DLight));
    EXPECT_EQ(WindowPixel((w + 20) / 2, 1), gui::ColorToRGB(gui::clBtnHighlight));
}

TEST_F(SkinFormTest, SkinChangeReachesTheSkinnedFormWithoutOtherHelp) {
    skin::TbsSkinData data;
    data.SetSkinList(&StoredSkins());
    ASSERT_FALSE(data.Empty);
    MakeSkinned(gui::bsSizeable, data.FPicture.Width(), data.FPicture.Height());
    skinForm->SetSkinData(&data);
    RunUntilIdle();
    int w = data.FPicture.Width();
    for (int index : {3, 7}) {
        SCOPED_TRACE(index);
        data.SetSkinIndex(index);
        RunUntilIdle();
        uint32_t v = data.FPicture.Image().At(w / 2, 2);
        EXPECT_EQ(WindowPixel(w / 2, 2), RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    }
    delete form;
    RunUntilIdle();
}

// A form at the stored skin's design size.
class SkinnedFormTest : public SkinFormTest {
protected:
    void Open(int index) {
        data.SetSkinList(&StoredSkins());
        data.SetSkinIndex(index);
        ASSERT_FALSE(data.Empty);
        w0 = data.FPicture.Width();
        h0 = data.FPicture.Height();
        MakeSkinned(gui::bsSizeable, w0, h0);
        skinForm->SetSkinData(&data);
        RunUntilIdle();
    }
    bool MaskBlack(int x, int y) const { return (data.FMask.Image().At(x, y) & 0xFFFFFF) == 0; }
    bool InRegion(int x, int y) {
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(form->Handle(), r);
        bool in = PtInRegion(r, x, y);
        DeleteObject(r);
        return in;
    }
    void Drag(POINT from, POINT to) {
        RECT wr;
        GetWindowRect(form->Handle(), &wr);
        D().MoveMouse(wr.left + from.x, wr.top + from.y);
        D().Press();
        D().MoveMouse(wr.left + to.x, wr.top + to.y);
        D().Release();
        RunUntilIdle();
    }
    ScreenForms forms;
    skin::TbsSkinData data;
    int w0 = 0, h0 = 0;
};

TEST_F(SkinnedFormTest, EverySkinsFrameAtDesignSizeIsTheSkinsOwn) {
    for (int index = 0; index < StoredSkins().Skins().Count(); ++index) {
        SCOPED_TRACE(index);
        Open(index);
        skinForm->CalcSkinRects();
        EXPECT_EQ(skinForm->NewClRect, data.ClRect);
        EXPECT_EQ(skinForm->NewRBPoint, data.RBPoint);
        EXPECT_EQ(skinForm->NewButtonsRect, data.ButtonsRect);
        EXPECT_EQ(skinForm->NewMaskRectArea, data.MaskRectArea);
        EXPECT_EQ(skinForm->NewHitTestRBPoint, data.HitTestRBPoint);
        gui::TRect client = form->ClientRect();
        EXPECT_EQ(gui::RectWidth(client), data.ClRect.Width());
        EXPECT_EQ(gui::RectHeight(client), data.ClRect.Height());
        EXPECT_EQ(skinForm->GetMinWidth(), w0);
        EXPECT_EQ(skinForm->GetMinHeight(), h0 - data.ClRect.Height());
        // The window region is the mask's black pixels.
        int wrong = 0;
        for (int y = 0; y < h0; ++y)
            for (int x = 0; x < w0; ++x) wrong += InRegion(x, y) != MaskBlack(x, y);
        EXPECT_EQ(wrong, 0);
        // The frame shows the skin's picture where the window is.
        POINT probe{w0 / 2, 2};
        uint32_t v = data.FPicture.Image().At(probe.x, probe.y);
        EXPECT_EQ(WindowPixel(probe.x, probe.y), RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
        delete form;
        form = nullptr;
        RunUntilIdle();
    }
}

TEST_F(SkinnedFormTest, SkinnedHitCodes) {
    Open(0);
    int c = data.HitTestLTPoint.X; // the sizing corners' reach
    struct Case {
        int x, y;
        LRESULT hit;
    } cases[] = {
        {c - 1,      1,                   HTTOPLEFT    },
        {w0 - c + 1, 1,                   HTTOPRIGHT   },
        {c - 1,      h0 - 1,              HTBOTTOMLEFT },
        {w0 - c + 1, h0 - 1,              HTBOTTOMRIGHT},
        {w0 / 2,     0,                   HTTOP        },
        {w0 / 2,     h0 - 1,              HTBOTTOM     },
        {0,          h0 / 2 + 5,          HTLEFT       },
        {w0 - 1,     h0 / 2 + 5,          HTRIGHT      },
        {60,         data.ClRect.Top - 8, HTCAPTION    }, // the caption object, left of the buttons
        {w0 / 2,     h0 / 2 + 5,          HTCLIENT     },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << k.x << "," << k.y);
        EXPECT_EQ(HitAt(k.x, k.y), k.hit);
    }
}

TEST_F(SkinnedFormTest, ButtonsAtHalfTheWidthStayWhereTheyAre) {
    Open(0);
    for (int shift : {0, 1}) {
        SCOPED_TRACE(shift);
        data.ButtonsRect = skin::Rect(w0 / 2 + shift, 2, w0 / 2 + shift + 20, 20);
        form->SetWidth(w0 + 50);
        RunUntilIdle();
        skinForm->CalcSkinRects();
        EXPECT_EQ(skinForm->NewButtonsRect.Left, w0 / 2 + shift + (shift ? 50 : 0));
        form->SetWidth(w0);
        RunUntilIdle();
    }
}

TEST_F(SkinnedFormTest, DragResizesWithTheRegionFollowingWithinTheLimits) {
    Open(0);
    Drag({w0 - 1, h0 / 2 + 5}, {w0 + 59, h0 / 2 + 5});
    ASSERT_EQ(form->Width(), w0 + 60);
    EXPECT_EQ(skinForm->FormWidth(), w0 + 60);
    for (int y = 0; y < h0; ++y) {
        SCOPED_TRACE(y);
        // The right edge of the region is the mask's, moved with the size.
        EXPECT_EQ(InRegion(w0 + 59, y), MaskBlack(w0 - 1, y));
        EXPECT_FALSE(InRegion(w0 + 60, y));
    }
    // Narrower than the skin allows, the drag stops at the minimum width.
    Drag({w0 + 59, h0 / 2 + 5}, {-200, h0 / 2 + 5});
    EXPECT_EQ(form->Width(), skinForm->GetMinWidth());
    // Taller than the limit, it stops at the maximum.
    skinForm->MaxHeight = h0 + 30;
    Drag({w0 / 2, h0 - 1}, {w0 / 2, h0 + 200});
    EXPECT_EQ(form->Height(), h0 + 30);
    EXPECT_EQ(InRegion(w0 / 2, h0 + 29), MaskBlack(w0 / 2, h0 - 1));
}

TEST_F(SkinnedFormTest, MagneticFormSnapsToTheWorkAreaAndPullsAway) {
    Open(0);
    skinForm->Magnetic = true;
    skinForm->MagneticSize = 10;
    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    form->SetBounds(work.left + 100, work.top + 100, w0, h0);
    RunUntilIdle();
    POINT grip{60, data.ClRect.Top - 8};
    ASSERT_EQ(HitAt(grip.x, grip.y), HTCAPTION);
    RECT wr;
    GetWindowRect(form->Handle(), &wr);
    int sx = wr.left + grip.x, sy = wr.top + grip.y;
    D().MoveMouse(sx, sy);
    D().Press();
    D().MoveMouse(sx - 93, sy); // 7 pixels from the edge: snaps
    D().MoveMouse(sx - 98, sy); // 5 more: held
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(form->Left(), work.left);
    EXPECT_EQ(form->Top(), work.top + 100);

    GetWindowRect(form->Handle(), &wr);
    sx = wr.left + grip.x + 20; // away from the last press, which a press nearby would double
    D().MoveMouse(sx, sy);
    D().Press();
    D().MoveMouse(sx + 7, sy); // 7 from the edge again: held at it
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(form->Left(), work.left);

    sx -= 40;
    D().MoveMouse(sx, sy);
    D().Press();
    D().MoveMouse(sx + 15, sy); // more than 10 from where it snapped: follows the cursor
    D().Release();
    RunUntilIdle();
    EXPECT_EQ(form->Left(), work.left + 15);
}

} // namespace

// The skinned form: the default frame (its insets, limits, hit codes and pixels), the frame
// messages kept from the form's own procedure, and the frame cut from a stored skin.
#include "skin/forms/SkinForm.h"
#include "../skincontrols/ControlFixtures.h"
#include "gdi/Region.h"
#include "gui/Color.h"

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
        {10,  5,   gui::clBtnHighlight},
        {10,  6,   gui::clBtnShadow   }, // caption lines from y = 2
        {10,  3,   gui::clBtnFace     },
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

TEST_F(SkinFormTest, FreedSkinDataLeavesEveryFieldThatNamedIt) {
    MakeSkinned(gui::bsSizeable);
    auto* data = new skin::TbsSkinData(gui::Application);
    skinForm->SetSkinData(data);
    skinForm->SetMenusSkinData(data);
    delete data;
    EXPECT_EQ(skinForm->SkinData(), nullptr);
    EXPECT_EQ(skinForm->MenusSkinData(), nullptr);
}

} // namespace

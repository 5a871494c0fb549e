// The skinned message box: its layout, the buttons' order, default and cancel kinds, the keys
// that end it, the show-again box and the titles from the string table.
#include "skin/forms/SkinMessage.h"
#include "../skincontrols/ControlFixtures.h"
#include "gui/Image.h"
#include "os/Spawn.h"
#include "skin/core/ResourceStrData.h"

using namespace skin;

namespace {

class SkinMessageTest : public GuiTest {
protected:
    SkinMessageTest() { box = new TbsSkinMessage(gui::Application); }
    template <class T> static T* Find(gui::TCustomForm& f, const char* name) {
        return dynamic_cast<T*>(f.FindComponent(name));
    }
    TbsSkinMessage* box = nullptr;
};

TEST_F(SkinMessageTest, MainWindowNoticeHasOneCentredOkThatEnterAndEscBothPress) {
    for (int vk : {VK_RETURN, VK_ESCAPE}) {
        SCOPED_TRACE(vk);
        Respond([&](gui::TCustomForm& f) {
            EXPECT_EQ(f.Caption(), "提示");
            auto* label = Find<TbsSkinStdLabel>(f, "Message");
            auto* ok = Find<TbsSkinButton>(f, "OK");
            auto* image = Find<gui::TImage>(f, "Image");
            if (!label || !ok || !image) {
                ADD_FAILURE() << "a part of the box is missing";
                return true;
            }
            EXPECT_EQ(f.ComponentCount(), 4); // frame, label, icon, one button
            EXPECT_EQ(label->Left(), 50);
            EXPECT_EQ(label->Top(), 15);
            const int cw = label->Left() + label->Width() + 40, ch = 25 + 50 + label->Height();
            EXPECT_EQ(f.ClientWidth(), cw);
            EXPECT_EQ(f.ClientHeight(), ch);
            EXPECT_EQ(ok->Left(), (cw - 70) / 2);
            EXPECT_EQ(ok->Top(), ch - 25 - 10);
            EXPECT_EQ(ok->Width(), 70);
            EXPECT_TRUE(ok->Default());
            EXPECT_TRUE(ok->Cancel);
            EXPECT_EQ(image->Left(), 5);
            EXPECT_EQ(image->Top(), std::max(10, 15 + label->Height() / 2 - 16));
            EXPECT_NE(image->Picture()->Graphic(), nullptr);
            D().Key(vk);
            return true;
        });
        EXPECT_EQ(box->MessageDlg2("请先添加要转换的文件!", "提示", mtInformation, MsgButtons({mbOK}), 0), 1);
    }
}

TEST_F(SkinMessageTest, ButtonsKeepTheirKindOrderAndTheTableGivesTheTexts) {
    skin::TbsSkinData ctrl(gui::Application);
    skin::TbsResourceStrData table(gui::Application); // the library's English defaults
    ctrl.SetResourceStrData(&table);
    box->SetCtrlSkinData(&ctrl);
    Respond([&](gui::TCustomForm& f) {
        EXPECT_EQ(f.Caption(), "Warning");
        auto* ok = Find<TbsSkinButton>(f, "OK");
        auto* cancel = Find<TbsSkinButton>(f, "Cancel");
        if (!ok || !cancel) {
            ADD_FAILURE() << "buttons missing";
            return true;
        }
        EXPECT_EQ(ok->Left(), (f.ClientWidth() - 150) / 2);
        EXPECT_EQ(cancel->Left(), ok->Left() + 80);
        EXPECT_TRUE(ok->Default());
        EXPECT_FALSE(ok->Cancel);
        EXPECT_TRUE(cancel->Cancel);
        EXPECT_EQ(ok->Caption(), "OK");
        EXPECT_EQ(cancel->Caption(), "Cancel");
        D().Key(VK_ESCAPE);
        return true;
    });
    // The caller's order does not matter: OK stays on the left.
    EXPECT_EQ(box->MessageDlg("覆盖文件？", mtWarning, MsgButtons({mbCancel, mbOK}), 0), 2);

    // A table without a key gives an empty text; the check box alone falls back.
    gui::TStringList lines;
    lines.Add("MSG_BTN_YES=是");
    table.SetResStrings(lines);
    box->ShowAgainFlag = true;
    Respond([&](gui::TCustomForm& f) {
        EXPECT_EQ(f.Caption(), "");
        auto* yes = Find<TbsSkinButton>(f, "Yes");
        auto* no = Find<TbsSkinButton>(f, "No");
        auto* check = Find<TbsSkinCheckRadioBox>(f, "checkbox");
        if (!yes || !no || !check) {
            ADD_FAILURE() << "parts missing";
            return true;
        }
        EXPECT_EQ(yes->Caption(), "是");
        EXPECT_EQ(no->Caption(), "");
        EXPECT_TRUE(yes->Default());
        EXPECT_TRUE(no->Cancel);
        EXPECT_EQ(check->Caption(), "Do not display this message again");
        D().Key(VK_RETURN);
        return true;
    });
    EXPECT_EQ(box->MessageDlg("?", mtConfirmation, MsgButtons({mbYes, mbNo}), 0), 6);
    box->SetCtrlSkinData(nullptr);
}

TEST_F(SkinMessageTest, EscWithoutACancelButtonLeavesTheBoxOpen) {
    struct Case {
        TMsgDlgButtons buttons;
        int enterResult; // the default button, pressed after Esc did nothing
    } cases[] = {
        {MsgButtons({mbAbort, mbRetry, mbIgnore}), 4},
        {MsgButtons({mbYes, mbYesToAll}),          6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buttons);
        Respond([&](gui::TCustomForm&) {
            D().Key(VK_ESCAPE);
            return true;
        });
        Respond([&](gui::TCustomForm& f) {
            EXPECT_EQ(f.ModalResult(), 0);
            D().Key(VK_RETURN);
            return true;
        });
        EXPECT_EQ(box->MessageDlg("出错", mtError, c.buttons, 0), c.enterResult);
    }
}

TEST_F(SkinMessageTest, ABoxWithoutButtonsStillEndsOnEscAndOnTheCloseRequest) {
    Respond([&](gui::TCustomForm& f) {
        EXPECT_EQ(f.ComponentCount(), 3); // frame, label, icon
        auto* label = Find<TbsSkinStdLabel>(f, "Message");
        if (label) {
            EXPECT_EQ(f.ClientWidth(), label->Left() + label->Width() + 40);
        }
        D().Key(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(box->MessageDlg("无按钮", mtError, 0, 0), gui::mrCancel);
    Respond([&](gui::TCustomForm& f) {
        PostMessage(f.Handle(), WM_CLOSE, 0, 0);
        return true;
    });
    EXPECT_EQ(box->MessageDlg("无按钮", mtError, 0, 0), gui::mrCancel);
}

TEST_F(SkinMessageTest, ShowAgainBoxStartsAsTheNegationAndWritesBack) {
    struct Case {
        bool before;     // ShowAgainFlagValue before the call
        bool toggle;     // the user clicks the box
        bool startsOn;   // the box starts checked
        bool afterwards; // ShowAgainFlagValue after the call
    } cases[] = {
        {false, false, true,  false},
        {false, true,  true,  true },
        {true,  false, false, true },
        {true,  true,  false, false},
    };
    box->ShowAgainFlag = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << c.toggle);
        box->ShowAgainFlagValue = c.before;
        Respond([&](gui::TCustomForm& f) {
            auto* check = Find<TbsSkinCheckRadioBox>(f, "checkbox");
            auto* ok = Find<TbsSkinButton>(f, "OK");
            if (!check || !ok) {
                ADD_FAILURE() << "parts missing";
                return true;
            }
            EXPECT_EQ(check->Checked(), c.startsOn);
            EXPECT_EQ(check->Left(), 5);
            EXPECT_EQ(check->Top(), f.ClientHeight() - 25 - 50);
            EXPECT_GE(f.ClientWidth(), check->Width() + 5);
            if (c.toggle) check->SetChecked(!check->Checked());
            f.SetModalResult(gui::mrOk);
            return true;
        });
        EXPECT_EQ(box->MessageDlg("再次显示？", mtInformation, MsgButtons({mbOK}), 0), 1);
        EXPECT_EQ(box->ShowAgainFlagValue, c.afterwards);
    }
    // The wide methods never show the box and never touch the value.
    box->ShowAgainFlagValue = false;
    Respond([&](gui::TCustomForm& f) {
        EXPECT_EQ(f.FindComponent("checkbox"), nullptr);
        D().Key(VK_RETURN);
        return true;
    });
    EXPECT_EQ(box->WideMessageDlg("宽", mtInformation, MsgButtons({mbOK}), 0), 1);
    EXPECT_FALSE(box->ShowAgainFlagValue);
}

TEST_F(SkinMessageTest, CustomTypePlacementAndHelp) {
    gui::Application->Title = "Tarvik";
    int asked = 0;
    box->OnSetShowPos = [&](int& x, int& y, int w, int h) {
        ++asked;
        EXPECT_EQ(x, -10000); // -10000 itself is a coordinate
        EXPECT_GT(w, 0);
        EXPECT_GT(h, 0);
        x = 40;
        y = 30;
    };
    Respond([&](gui::TCustomForm& f) {
        EXPECT_EQ(f.Caption(), "Tarvik");
        EXPECT_EQ(f.FindComponent("Image"), nullptr);
        EXPECT_EQ(f.Left(), 40);
        EXPECT_EQ(f.Top(), 30);
        D().Key(VK_RETURN);
        return true;
    });
    EXPECT_EQ(box->MessageDlgPos("自定义", mtCustom, MsgButtons({mbOK}), 0, -10000, -10000), 1);
    EXPECT_EQ(asked, 1);

    // Help shows the help file and leaves the box open.
    os::SpawnRecorder spawns;
    Respond([&](gui::TCustomForm& f) {
        auto* help = Find<TbsSkinButton>(f, "Help");
        if (!help) {
            ADD_FAILURE() << "no help button";
            return true;
        }
        EXPECT_EQ(help->ModalResult, 0);
        help->ButtonClick();
        EXPECT_EQ(f.ModalResult(), gui::mrNone);
        f.SetModalResult(gui::mrOk);
        return true;
    });
    EXPECT_EQ(box->MessageDlgHelp("帮助", mtInformation, MsgButtons({mbOK, mbHelp}), 7, "/tmp/help.html"), 1);
    ASSERT_EQ(spawns.Requests().size(), 1u);
    EXPECT_EQ(spawns.Requests()[0].argv.back(), "/tmp/help.html");
}

} // namespace

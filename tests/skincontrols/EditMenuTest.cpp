// The editor's own context menu on a skinned form: its six commands in the skin's words, each
// enabled only when it can act (a read-only editor offers no change), and a chosen command run
// on the editor.
#include "ControlFixtures.h"
#include "skin/controls/SkinEdit.h"
#include "skin/core/ResourceStrData.h"
#include "skin/forms/SkinForm.h"
#include "skin/menus/SkinMenu.h"
#include "skin/menus/SkinMenuItem.h"
#include "skin/menus/SkinPopupMenu.h"
#include "skin/menus/SkinPopupWindow.h"
#include "win/Input.h"

#include <gtest/gtest.h>

using namespace skin;
using namespace controltest;

namespace {

class EditMenuTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        data_.SetSkinList(&StoredSkins());
        data_.SetSkinIndex(0);
        strings_.ResStrings().SetValues("EDIT_COPY", "复制");
        data_.SetResourceStrData(&strings_);
        form_ = MakeForm<SkinWalkForm>();
        form_->SetBounds(100, 100, 400, 300);
        skinForm_ = new TbsSkinForm(form_);
        skinForm_->SetSkinData(&data_);
        edit_ = new TbsSkinEdit(form_);
        edit_->SetParent(form_);
        edit_->SetBounds(20, 20, 200, 22);
        edit_->SetText("abc def");
        form_->Show();
        edit_->SetFocus();
        RunUntilIdle();
    }
    void TearDown() override {
        data_.SetResourceStrData(nullptr);
        GuiTest::TearDown();
    }
    // Opens the menu from the keyboard and answers each item's caption and state.
    std::vector<std::pair<std::string, bool>> Open() {
        SendMessage(edit_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit_->Handle()),
                    MAKELPARAM(-1, -1));
        RunUntilIdle();
        std::vector<std::pair<std::string, bool>> items;
        TbsSkinPopupMenu* menu = edit_->SysPopupMenu();
        if (!menu) return items;
        for (int i = 0; i < menu->Items()->Count(); ++i)
            items.emplace_back(menu->Items()->Items(i)->Caption(), menu->Items()->Items(i)->Enabled());
        return items;
    }
    void Close() {
        skinForm_->SkinMenu()->Hide();
        RunUntilIdle();
    }
    TbsSkinData data_;
    TbsResourceStrData strings_;
    SkinWalkForm* form_ = nullptr;
    TbsSkinForm* skinForm_ = nullptr;
    TbsSkinEdit* edit_ = nullptr;
};

} // namespace

TEST_F(EditMenuTest, CommandsInTheSkinsWordsEnabledWhenTheyCanAct) {
    win::SetClipboardText("xyz");
    edit_->SetSelStart(0);
    edit_->SetSelLength(3);
    using Items = std::vector<std::pair<std::string, bool>>;
    Items items = Open();
    EXPECT_TRUE(skinForm_->SkinMenu()->Visible());
    EXPECT_EQ(items, (Items{
                         {"Undo",       false},
                         {"-",          true },
                         {"Cut",        true },
                         {"复制",     true },
                         {"Paste",      true },
                         {"Delete",     true },
                         {"-",          true },
                         {"Select All", true }
    }));
    Close();
    // Read-only: copying and selecting only; everything selected: no Select All.
    edit_->SetReadOnly(true);
    edit_->SelectAll();
    items = Open();
    EXPECT_EQ(items, (Items{
                         {"Undo",       false},
                         {"-",          true },
                         {"Cut",        false},
                         {"复制",     true },
                         {"Paste",      false},
                         {"Delete",     false},
                         {"-",          true },
                         {"Select All", false}
    }));
    // Choosing Copy copies the selection.
    win::SetClipboardText("");
    TbsSkinPopupWindow* level = skinForm_->SkinMenu()->Level(0);
    ASSERT_NE(level, nullptr);
    const TRect& r = level->Items(3)->ObjectRect;
    D().Click(level->Left() + (r.Left + r.Right) / 2, level->Top() + (r.Top + r.Bottom) / 2);
    RunUntilIdle();
    EXPECT_FALSE(skinForm_->SkinMenu()->Visible());
    EXPECT_EQ(win::GetClipboardText(), "abc def");
    EXPECT_EQ(edit_->Text(), "abc def");
}

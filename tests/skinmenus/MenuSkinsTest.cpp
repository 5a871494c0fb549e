// Menus and hints under the program's stored skins: every skin has the popup window, a menu-item
// object and the hint window, with their rectangles inside their pictures, and a menu opens in
// the skin's look with the window sized by its frame.
#include "MenuFixture.h"

using namespace menutest;

namespace {

bool Inside(const skin::TRect& r, const skin::TbsPicture* p) {
    return p && r.Left >= 0 && r.Top >= 0 && r.Right <= p->Width() && r.Bottom <= p->Height() &&
           r.Left < r.Right && r.Top < r.Bottom;
}

const skin::TbsPicture* Picture(const skin::TbsSkinData& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.FActivePictures.size())) return nullptr;
    return d.FActivePictures[static_cast<size_t>(index)].get();
}

} // namespace

TEST_F(MenuTest, EveryStoredSkinDrawsMenusAndHints) {
    skin::TbsCompressedSkinList& list = controltest::StoredSkins();
    ASSERT_EQ(list.Skins().Count(), 11);
    skin::TbsSkinData data;
    auto* menu = NewMenu();
    Fill(menu->Items(), 3);
    Item(menu->Items(), "-");
    gui::TMenuItem* sub = Item(menu->Items(), "More");
    Fill(sub, 1);
    menu->Items()->Items(0)->SetChecked(true);
    menu->SetSkinData(&data);
    for (int i = 0; i < list.Skins().Count(); ++i) {
        ASSERT_TRUE(data.LoadCompressedStoredSkin(&list.Skins()[i].Skin())) << i;
        SCOPED_TRACE(data.SkinName);
        const skin::TbsDataSkinPopupWindow& pw = data.PopupWindow;
        const skin::TbsPicture* window = Picture(data, pw.WindowPictureIndex);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(Inside(pw.ItemsRect, window));
        if (pw.MaskPictureIndex >= 0) {
            EXPECT_EQ(Picture(data, pw.MaskPictureIndex)->Width(), window->Width());
        }
        skin::TbsDataSkinMenuItem* mi = nullptr;
        for (auto& o : data.ObjectList)
            if ((mi = dynamic_cast<skin::TbsDataSkinMenuItem*>(o.get()))) break;
        ASSERT_NE(mi, nullptr);
        const skin::TbsPicture* rows = Picture(data, mi->ActivePictureIndex);
        for (const skin::TRect& r : {mi->SkinRect, mi->ActiveSkinRect, mi->DividerRect, mi->CheckImageRect,
                                     mi->ActiveCheckImageRect, mi->RadioImageRect, mi->ArrowImageRect})
            EXPECT_TRUE(Inside(r, rows));
        const skin::TbsDataSkinHintWindow& hw = data.HintWindow;
        const skin::TbsPicture* hint = Picture(data, hw.WindowPictureIndex);
        ASSERT_NE(hint, nullptr);
        EXPECT_TRUE(Inside(hw.ClRect, hint));

        menu->Popup(200, 150);
        ASSERT_EQ(Levels(), 1);
        skin::TbsSkinPopupWindow* w = Level(0);
        EXPECT_TRUE(w->Skinned());
        EXPECT_TRUE(w->Items(0)->Skinned());
        int rowsHeight = 4 * mi->SkinRect.Height() + mi->DividerRect.Height();
        EXPECT_EQ(w->Height(), window->Height() - pw.ItemsRect.Height() + rowsHeight);
        EXPECT_EQ(w->Items(0)->ObjectRect.Top, pw.ItemsRect.Top);
        PressKey(VK_ESCAPE);
    }
    menu->SetSkinData(nullptr);
}

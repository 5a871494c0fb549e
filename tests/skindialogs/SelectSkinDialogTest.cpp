// The skin chooser over the program's eleven stored skins: what it lists and previews, what
// OK, a double click and Cancel answer, and that previewing leaves the program's skin alone.
#include "skin/dialogs/SelectSkinDialog.h"
#include "../skincontrols/ControlFixtures.h"

using namespace skin;

namespace {

class SelectSkinDialogTest : public GuiTest {
protected:
    SelectSkinDialogTest() { dlg = new TbsSelectSkinDialog(gui::Application); }
    static TbsSelectSkinDlgForm& Form(gui::TCustomForm& f) { return dynamic_cast<TbsSelectSkinDlgForm&>(f); }
    TbsSelectSkinDialog* dlg = nullptr;
};

TEST_F(SelectSkinDialogTest, WithoutAListNothingShows) {
    EXPECT_FALSE(dlg->Execute(0));
    EXPECT_EQ(dlg->SelectedSkinIndex(), -1);
}

TEST_F(SelectSkinDialogTest, ListsTheStoredSkinsAndConfirmsTheHighlightedOne) {
    TbsCompressedSkinList& list = controltest::StoredSkins();
    ASSERT_EQ(list.Skins().Count(), 11);
    dlg->SetSkinList(&list);
    Respond([&](gui::TCustomForm& f) {
        TbsSelectSkinDlgForm& d = Form(f);
        EXPECT_EQ(f.Caption(), "Select skin");
        EXPECT_EQ(f.ClientWidth(), 420);
        EXPECT_EQ(f.ClientHeight(), 240);
        EXPECT_EQ(d.BSF->BorderIcons(), 0);
        EXPECT_EQ(d.SkinsListBox->Items()->Count(), 11);
        for (int i = 0; i < 11; ++i) {
            const TbsSkinListItem& item = list.Skins()[i];
            EXPECT_EQ(d.SkinsListBox->Items()->Strings(i),
                      item.Description.empty() ? item.Name : item.Description);
        }
        EXPECT_EQ(d.SkinsListBox->ItemIndex(), 3);
        EXPECT_EQ(d.PreviewSkinData->SkinIndex(), 3);
        EXPECT_FALSE(d.PreviewSkinData->Empty); // the preview wears that skin
        EXPECT_EQ(d.PreviewButton->SkinData(), d.PreviewSkinData);
        EXPECT_TRUE(d.PreviewForm->Visible());
        EXPECT_EQ(d.PreviewForm->Left(), 190);
        EXPECT_EQ(d.PreviewForm->Top(), 10);
        EXPECT_EQ(d.PreviewForm->Caption(), "Preview");
        EXPECT_EQ(d.PreviewButton->Caption(), "Button");
        EXPECT_EQ(d.OpenButton->Caption(), "OK");
        EXPECT_EQ(d.CancelButton->Caption(), "Cancel");
        D().Key(VK_RETURN);
        return true;
    });
    EXPECT_TRUE(dlg->Execute(3)); // untouched: the index passed in
    EXPECT_EQ(dlg->SelectedSkinIndex(), 3);

    // A click picks another skin, a double click confirms it.
    Respond([&](gui::TCustomForm& f) {
        TbsSelectSkinDlgForm& d = Form(f);
        d.SkinsListBox->SetItemIndex(7);
        d.SLBOnChange(d.SkinsListBox);
        EXPECT_EQ(d.PreviewSkinData->SkinIndex(), 7);
        d.SLBOnDblClick(d.SkinsListBox);
        return true;
    });
    EXPECT_TRUE(dlg->Execute(0));
    EXPECT_EQ(dlg->SelectedSkinIndex(), 7);
}

TEST_F(SelectSkinDialogTest, CancelAnswersNothingAndThePreviewNeverTouchesTheProgramsSkin) {
    TbsCompressedSkinList& list = controltest::StoredSkins();
    skin::TbsSkinData main(gui::Application);
    main.SetSkinIndex(1);
    main.SetSkinList(&list);
    ASSERT_FALSE(main.Empty);
    const auto* picture = main.FActivePictures.empty() ? nullptr : main.FActivePictures[0].get();
    dlg->SetSkinList(&list);
    dlg->SetSkinData(&main);
    dlg->SetCtrlSkinData(&main);
    for (int vk : {static_cast<int>(VK_ESCAPE), 0}) {
        SCOPED_TRACE(vk);
        Respond([&](gui::TCustomForm& f) {
            TbsSelectSkinDlgForm& d = Form(f);
            EXPECT_EQ(f.ClientWidth(), std::max(420, d.BSF->GetMinWidth()));
            EXPECT_EQ(f.ClientHeight(), std::max(240, d.BSF->GetMinHeight()));
            for (int i : {4, 9, 2}) {
                d.SkinsListBox->SetItemIndex(i);
                d.SLBOnChange(d.SkinsListBox);
                EXPECT_EQ(d.PreviewSkinData->SkinIndex(), i);
            }
            if (vk)
                D().Key(vk);
            else
                PostMessage(f.Handle(), WM_CLOSE, 0, 0);
            return true;
        });
        EXPECT_FALSE(dlg->Execute(1));
        EXPECT_EQ(dlg->SelectedSkinIndex(), -1);
        EXPECT_EQ(main.SkinIndex(), 1);
        EXPECT_FALSE(main.FActivePictures.empty());
        EXPECT_EQ(main.FActivePictures.empty() ? nullptr : main.FActivePictures[0].get(), picture);
    }
    dlg->SetSkinData(nullptr);
    dlg->SetCtrlSkinData(nullptr);
}

TEST_F(SelectSkinDialogTest, StoredSkinComponentsOfTheOwner) {
    auto* owner = new gui::TForm(gui::Application);
    auto* chooser = new TbsSelectSkinDialog(owner);
    auto* a = new TbsCompressedStoredSkin(owner);
    a->SetName("Plain");
    auto* b = new TbsCompressedStoredSkin(owner);
    b->SetName("Named");
    b->Description = "有名字";
    Respond([&](gui::TCustomForm& f) {
        TbsSelectSkinDlgForm& d = Form(f);
        EXPECT_EQ(d.SkinsListBox->Items()->Count(), 2);
        EXPECT_EQ(d.SkinsListBox->Items()->Strings(0), "Plain");
        EXPECT_EQ(d.SkinsListBox->Items()->Strings(1), "有名字");
        EXPECT_EQ(d.SkinsListBox->ItemIndex(), 1);
        D().Key(VK_RETURN);
        return true;
    });
    EXPECT_TRUE(chooser->Execute(b));
    EXPECT_EQ(chooser->SelectedSkin(), b);
    EXPECT_EQ(chooser->SelectedSkinIndex(), -1);
}

} // namespace

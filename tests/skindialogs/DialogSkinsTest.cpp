// Every stored skin dresses the dialogs: each part they are built from finds its entry.
#include "../skincontrols/ControlFixtures.h"
#include "skin/core/SkinData.h"

namespace {

TEST(DialogSkins, EveryStoredSkinHasTheDialogsParts) {
    skin::TbsCompressedSkinList& list = controltest::StoredSkins();
    ASSERT_EQ(list.Skins().Count(), 11);
    const char* parts[] = {"button",     "stdlabel",   "checkbox", // the message box
                           "panel",      "toolpanel",  "toolbutton", "edit",
                           "treeview", // the select-folder dialog
                           "vscrollbar", "hscrollbar", "listbox",    "previewpanel"}; // and the skin chooser
    for (int i = 0; i < list.Skins().Count(); ++i) {
        skin::TbsSkinData sd;
        sd.SetSkinList(&list);
        sd.SetSkinIndex(i);
        ASSERT_FALSE(sd.Empty) << i;
        for (const char* part : parts) EXPECT_GE(sd.GetControlIndex(part), 0) << "skin " << i << ": " << part;
    }
}

} // namespace

#pragma once
// A skinned form on the headless screen, with the default frame or a stored skin, and the
// mouse moved over its frame at window coordinates.
#include "../skincontrols/ControlFixtures.h"
#include "skin/forms/SkinAnimateObject.h"
#include "skin/forms/SkinButtonObject.h"
#include "skin/forms/SkinCaptionObject.h"
#include "skin/forms/SkinForm.h"

namespace skinformtest {

using namespace controltest;

class FrameTest : public GuiTest {
protected:
    // A sizeable form, shown and active, with a skinned-form component; `data` when given.
    void Open(int w = 300, int h = 200, skin::TbsSkinData* skinData = nullptr) {
        form = MakeForm<gui::TForm>();
        form->SetBounds(100, 100, w, h);
        form->SetCaption("Frame");
        skinForm = new skin::TbsSkinForm(form);
        if (skinData) skinForm->SetSkinData(skinData);
        form->Show();
        RunUntilIdle();
    }
    // The stored skin `index` loaded into `data`, its descriptors open to change before Open.
    void LoadSkin(int index) {
        data.SetSkinList(&StoredSkins());
        data.SetSkinIndex(index);
        ASSERT_FALSE(data.Empty);
    }
    void OpenSkinned(int index) {
        LoadSkin(index);
        Open(data.FPicture.Width(), data.FPicture.Height(), &data);
    }
    skin::TbsActiveSkinObject* Object(const std::string& id) {
        int i = skinForm->GetIndex(id);
        return i < 0 ? nullptr : skinForm->ObjectList[static_cast<size_t>(i)].get();
    }
    POINT ScreenAt(int x, int y) const { return {form->Left() + x, form->Top() + y}; }
    POINT Centre(const skin::TRect& r) const { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
    void MoveOver(POINT windowPoint) {
        POINT s = ScreenAt(windowPoint.x, windowPoint.y);
        D().MoveMouse(s.x, s.y);
        RunUntilIdle();
    }
    COLORREF WindowPixel(int x, int y) {
        const gdi::Bitmap* b = win::GetWindowSurface(form->Handle());
        if (!b) return CLR_INVALID;
        uint32_t v = b->View().Get(x, y);
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Releases the form before the skin data it uses goes.
    void TearDown() override {
        delete form;
        form = nullptr;
        GuiTest::TearDown();
    }

    ScreenForms forms;
    skin::TbsSkinData data;
    gui::TForm* form = nullptr;
    skin::TbsSkinForm* skinForm = nullptr;
};

} // namespace skinformtest

#pragma once
// A borderless form on the headless screen with controls placed on it.
#include "GuiHarness.h"

class FormTest : public GuiTest {
protected:
    gui::TForm* Form() {
        auto* f = MakeForm<gui::TForm>();
        f->SetBorderStyle(gui::bsNone);
        f->SetBounds(100, 100, 400, 300);
        return f;
    }
    template <class T> T* Add(gui::TWinControl* parent, gui::TRect bounds) {
        T* c = new T(parent);
        c->SetBoundsRect(bounds);
        c->SetParent(parent);
        return c;
    }
    static void Show(gui::TForm* f) {
        f->Show();
        RunUntilIdle();
    }
    static void Type(const std::u32string& text) {
        D().Type(text);
        RunUntilIdle();
    }
    // A key pressed with a modifier held.
    static void Chord(int modifier, int vk) {
        D().KeyDown(modifier);
        D().Key(vk);
        D().KeyUp(modifier);
        RunUntilIdle();
    }
};

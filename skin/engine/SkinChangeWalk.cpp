#include "skin/engine/SkinChangeWalk.h"

#include <vector>

namespace skin {

namespace {

// Compares pointers only: a freed control is never touched.
bool Holds(gui::TWinControl* parent, const gui::TControl* c) {
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (parent->Controls(i) == c) return true;
    return false;
}

// Parents before children.  A control may add or free controls while it changes: each level
// is taken as a list first, and a control is only reached while its parent still holds it.
template <class F> void Walk(gui::TWinControl* parent, bool windowedOnly, TbsSkinData* sender, F&& step) {
    std::vector<gui::TControl*> level;
    for (int i = 0; i < parent->ControlCount(); ++i) level.push_back(parent->Controls(i));
    for (gui::TControl* c : level) {
        if (!Holds(parent, c)) continue;
        auto* target = dynamic_cast<TbsSkinChangeable*>(c);
        if (target && (!windowedOnly || c->IsWindowed()) && (!sender || target->SkinDataOf() == sender))
            step(*target);
        if (!Holds(parent, c)) continue;
        if (auto* w = dynamic_cast<gui::TWinControl*>(c)) Walk(w, windowedOnly, sender, step);
    }
}

} // namespace

void WalkBeforeChangeSkinData(gui::TWinControl* Form, TbsSkinData* Sender) {
    if (Form) Walk(Form, true, Sender, [](TbsSkinChangeable& c) { c.BeforeChangeSkinData(); });
}

void WalkChangeSkinData(gui::TWinControl* Form, TbsSkinData* Sender) {
    if (Form) Walk(Form, false, Sender, [](TbsSkinChangeable& c) { c.ChangeSkinData(); });
}

} // namespace skin

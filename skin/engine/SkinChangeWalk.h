#pragma once
// The walk a skinned form makes over its controls when its skin data changes, as a free
// function so that controls follow a skin change whoever announces it.
#include "gui/Controls.h"

namespace skin {

class TbsSkinData;

// What a skinned control offers the walk: its skin data and the two steps of a change.
class TbsSkinChangeable {
public:
    virtual ~TbsSkinChangeable() = default;
    virtual TbsSkinData* SkinDataOf() const = 0;
    // Before the old skin is freed: forget every reference into it.
    virtual void BeforeChangeSkinData() = 0;
    // After the new skin is read: look the entry up again, resize, repaint.
    virtual void ChangeSkinData() = 0;
};

// BeforeChangeSkinData on every skinned windowed control of the form, nested ones included,
// whose skin data is Sender (all of them for a null Sender); windowless ones are not visited.
void WalkBeforeChangeSkinData(gui::TWinControl* Form, TbsSkinData* Sender);
// ChangeSkinData on every skinned control of the form, windowed or not, parents before their
// children, whose skin data is Sender (all of them for a null Sender).
void WalkChangeSkinData(gui::TWinControl* Form, TbsSkinData* Sender);

} // namespace skin

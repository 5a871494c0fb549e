#pragma once
// The application's forms as the skin data's change broadcast reaches them: the screen's forms
// in its order.  A skinned form installs it when nobody else listens; it lives as long as the program.
#include "skin/core/SkinForms.h"

#include <vector>

namespace skin {

class TbsScreenSkinForms : public TbsSkinForms {
public:
    int FormCount() const override;
    TbsSkinMessageForm* Forms(int index) const override;
    TbsSkinMessageForm* FormOf(os::TComponent* component) const override;
    static void InstallOnce();
};

} // namespace skin

#pragma once
// TbsClientInActivePanel: the overlay that dims the client area of an inactive form.  It takes
// a picture of the client area as it is on the screen, washes it out with the form's own
// background or blurs it, and lies over the client area until the form is active again.
#include "skin/controls/SkinPanel.h"
#include "skin/engine/SkinBitmap.h"

#include <memory>

namespace skin {

enum class TbsClientInActiveEffect { bsieSemiTransparent, bsieBlur };

class TbsClientInActivePanel : public TbsSkinPaintPanel {
public:
    explicit TbsClientInActivePanel(gui::TComponent* AOwner);
    ~TbsClientInActivePanel() override;
    std::string ClassName() const override { return "TbsClientInActivePanel"; }

    // Nothing for a missing or hidden form, or one without a client area.
    void ShowPanel(gui::TCustomForm* AForm, TbsClientInActiveEffect AEffect);
    void HidePanel();

    // The client area as the panel shows it; null while hidden.
    std::unique_ptr<TbsBitmap> Buffer;

protected:
    void Paint() override;
};

} // namespace skin

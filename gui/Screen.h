#pragma once
// The screen: the program's forms in activation order, the active form and control, the
// monitor size and the cursor shapes.
#include "gui/Classes.h"
#include "gui/ControlTypes.h"
#include "gui/Fwd.h"
#include "gui/Geometry.h"

#include <vector>

namespace gui {

class TCustomForm;

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner) : TComponent(owner) {}
    std::string ClassName() const override { return "TScreen"; }

    // The most recently activated form first.
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }
    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    // A shape other than crDefault overrides every control's own (crHourGlass while busy).
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    HCURSOR Cursors(TCursor cursor) const;

    TNotifyEvent OnActiveFormChange, OnActiveControlChange;

private:
    friend class TCustomForm;
    friend class TControl;
    void AddForm(TCustomForm* form) { forms_.push_back(form); }
    void RemoveForm(TCustomForm* form);
    void FormActivated(TCustomForm* form);
    void SetActiveControl(TWinControl* control);
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TCursor cursor_ = crDefault;
};

extern TScreen* Screen;

} // namespace gui

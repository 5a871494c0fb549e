#pragma once
// The windowless text label: one line or wrapped text, aligned and laid out in its box,
// sized to its text while AutoSize is on, engraved when disabled.  "&X" in the caption
// underlines X and, with a FocusControl, Alt+X focuses that control.
#include "gui/GraphicControl.h"

#include <string>

namespace gui {

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);
    std::string ClassName() const override { return "TCustomLabel"; }

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    // A transparent label leaves the parent's surface under its text.
    bool Transparent() const { return !(ControlStyle & csOpaque); }
    void SetTransparent(bool value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);

protected:
    // The text to show (the caption).
    virtual std::string GetLabelText();
    // Draws the text in rect, or with DT_CALCRECT in flags only measures it into rect.
    virtual void DoDrawText(TRect& rect, UINT flags);
    // Fits the size to the text while AutoSize is on; a right-aligned label keeps its right edge.
    virtual void AdjustBounds();
    bool CanAutoSize(int& width, int& height) override;
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Dispatch(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;

private:
    // The text's size for the given box width (0: no wrapping), measured with the label's font.
    TSize MeasureText(int width);
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool adjusting_ = false;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
    std::string ClassName() const override { return "TLabel"; }
};

} // namespace gui

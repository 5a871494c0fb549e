#pragma once
// TbsSkinHintWindow: the window of every hint.  It sizes itself to its text (lines break at the
// hint component's separator), draws itself from the skin's hint-window picture or in a plain
// look, keeps itself on the screen, and can fade in.  It serves the active hint component of
// the main form; without one it shows nothing.
#include "gui/HintWindow.h"
#include "gui/ImgList.h"
#include "skin/core/SkinData.h"

#include <string>

namespace skin {

class TbsSkinHint;

class TbsSkinHintWindow : public gui::THintWindow {
public:
    explicit TbsSkinHintWindow(gui::TComponent* AOwner);
    ~TbsSkinHintWindow() override;
    std::string ClassName() const override { return "TbsSkinHintWindow"; }

    // Only the rectangle's top-left corner counts: the window sizes itself.
    void ActivateHint(gui::TRect Rect, const std::string& AHint) override;
    void ActivateHintEx(gui::TRect Rect, const std::string& AHintTitle, const std::string& AHint,
                        int AImageIndex, gui::TCustomImageList* AImageList);
    // Centred above (ATop) or below the rectangle.
    void ActivateHintFromRect(gui::TRect ARect, const std::string& AHint, bool ATop);

    TbsSkinHint* FspHint = nullptr;
    TbsSkinData* FSD = nullptr;
    TRect NewClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    bool ExtendedStyle() const { return extended_; }

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(gui::TMessage& Message) override;

private:
    enum class Place { AtPoint, Above, Below };
    void Activate(gui::TRect Rect, const std::string& AHint, Place Where, bool Extended);
    void SetCanvasFont(gui::TCanvas* C);
    gui::TSize MeasureText(const std::string& Text, bool Bold);
    void SizeBySkin(int TW, int TH, int Extra, int& W, int& H);
    void ApplyAlpha();
    void ApplyRegion(int W, int H);

    bool extended_ = false;
    bool layered_ = false;
    int alphaApplied_ = -1;
    int textW_ = 0, textH_ = 0;
};

// Replaces each occurrence of Separator in Text by a line break (LF then CR), in one pass over
// the text as given: a separator that holds a line break itself is not found again in what
// replaced it.  An empty separator changes nothing.
std::string BreakHintLines(const std::string& Text, const std::string& Separator);

} // namespace skin

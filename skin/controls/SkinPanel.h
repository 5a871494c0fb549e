#pragma once
// TbsSkinPanel: the skinned container: a plain panel, a captioned one (text, glyph, check box
// and roll-up arrow in its caption), a transparent one that shows its parent, or a large
// background from a picture of its own.  TbsSkinGroupBox is the captioned panel under
// "groupbox"; TbsSkinPaintPanel lets its owner paint the client area.
#include "skin/controls/SkinControl.h"

#include <functional>
#include <memory>
#include <vector>

namespace skin {

enum class TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

enum class TbsImagePosition { bsipDefault, bsipLeft };

class TbsSkinPanel : public TbsSkinCustomControl {
public:
    explicit TbsSkinPanel(gui::TComponent* AOwner);
    ~TbsSkinPanel() override;
    std::string ClassName() const override { return "TbsSkinPanel"; }

    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsSkinBorderStyle Value);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool Value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int Value);
    gui::TAlignment DefaultAlignment = gui::taLeftJustify;
    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool Value);
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool Value);
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value); // fires OnChecked on every set
    bool AutoEnabledControls = true;
    bool RollUpMode = false;
    bool RollUpState() const { return FRollUpState; }
    void SetRollUpState(bool Value);
    int RealHeight() const { return FRealHeight; }
    gui::TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(gui::TBitmap* Value);
    int NumGlyphs = 1;
    int Spacing = 2;
    // The caption's image when the glyph is empty.
    gui::TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(gui::TCustomImageList* Value);
    int CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(int Value);
    TbsImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TbsImagePosition Value);

    gui::TNotifyEvent OnChecked, OnChangeRollUpState;

    // The area the children are aligned in.
    gui::TRect GetSkinClientRect();
    // The panel's whole look at its size, into another canvas.
    void PaintSkinTo(gui::TCanvas* C, int X, int Y);
    void DoRollUp(bool Value);
    gui::TRect CaptionRectNow() const { return NewCaptionRect; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void ChangeSkinData() override;

protected:
    void GetSkinData() override;
    void Paint() override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
    void AdjustClientRect(gui::TRect& R) override;
    void CheckParentBackground() override;
    virtual void PaintClient(gui::TCanvas*) {}
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void CMTextChanged(gui::TMessage& Message) override;
    void CMEnabledChanged(gui::TMessage& Message) override;
    void Dispatch(gui::TMessage& Message) override;
    bool CanAutoSize(int& AWidth, int& AHeight) override;

    void DrawSkinCaption(gui::TCanvas* C);
    void DrawTransparentFrame(gui::TBitmap* B);
    void DrawCheckImage(gui::TCanvas* C, int X, const gui::TRect& Within);
    void FillFromPiece(gui::TCanvas* C, const TRect& PictureRect, gui::TBitmap* Source,
                       const gui::TRect& Area);
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    // The caption's image from the list, when the glyph is empty and the index is in range.
    bool HasCaptionImage() const;
    // The width of the caption's picture: the list's image or a glyph frame; 0 without one.
    int CaptionPictureWidth() const;
    void DrawCaptionPicture(gui::TCanvas* C, int X, const gui::TRect& Within);
    int GlyphFrame() const { return !Enabled() && NumGlyphs == 2 ? 2 : 1; }
    int GlyphWidth() const { return FGlyph->Empty() ? 0 : FGlyph->Width() / std::max(NumGlyphs, 1); }

    TbsSkinBorderStyle FBorderStyle = TbsSkinBorderStyle::bvFrame;
    bool FCaptionMode = false, FRibbonStyle = false, FTransparentMode = false;
    bool FCheckedMode = false, FChecked = false, FRollUpState = false, FInChangingRollUp = false;
    int FDefaultCaptionHeight = 22;
    int FRealHeight = -1;
    int FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;
    std::vector<gui::TControl*> FHiddenByRollUp;
    std::unique_ptr<gui::TBitmap> FGlyph;
    gui::TCustomImageList* FCaptionImageList = nullptr;
    int FCaptionImageIndex = -1;
    TbsImagePosition FImagePosition = TbsImagePosition::bsipDefault;

    std::string FontName;
    int FontHeight = 0;
    gui::TFontStyles FontStyle = 0;
    gui::TColor FontColor = 0;
    TAlignment Alignment = TAlignment::taLeftJustify;
    TRect CaptionRect, CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    gui::TRect NewCaptionRect{};
    int BGPictureIndex = -1;
};

class TbsSkinGroupBox : public TbsSkinPanel {
public:
    explicit TbsSkinGroupBox(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsSkinGroupBox"; }

protected:
    void GetSkinData() override;
};

using TbsPaintPanelEvent = std::function<void(gui::TCanvas* Cnvs, gui::TRect R)>;

class TbsSkinPaintPanel : public TbsSkinPanel {
public:
    explicit TbsSkinPaintPanel(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsSkinPaintPanel"; }
    TbsPaintPanelEvent OnPanelPaint;

protected:
    void PaintClient(gui::TCanvas* C) override;
    void CreateControlDefaultImage(gui::TBitmap* B) override;
    void CreateControlSkinImage(gui::TBitmap* B) override;
};

} // namespace skin

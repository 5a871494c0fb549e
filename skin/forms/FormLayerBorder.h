#pragma once
// TbsFormLayerBorder: a soft outer border or shadow around a skinned form, cut from the skin's
// layer frame to the form's size and shown in four layered windows (top, bottom, left, right)
// with per-pixel alpha.  When the skin asks for it, dragging the border resizes the form.
#include "gui/Forms.h"
#include "skin/core/SkinData.h"
#include "skin/engine/SkinBitmap.h"

#include <array>
#include <memory>
#include <optional>

namespace skin {

class TbsSkinForm;
class TbsFormLayerBorder;

enum TbsFormLayerBorderType { bsflLeft, bsflTop, bsflRight, bsflBottom };
enum TbsFormLayerBorderHit {
    bsflhNone,
    bsflhLeft,
    bsflhTop,
    bsflhRight,
    bsflhBottom,
    bsflhTopLeft,
    bsflhTopRight,
    bsflhBottomLeft,
    bsflhBottomRight
};

// Where the frame and its strips go for a form rectangle, with a frame picture of sw × sh.
struct TbsLayerFrameGeometry {
    TRect Frame; // the whole frame, screen coordinates
    int TopHeight = 0, BottomHeight = 0, LeftWidth = 0, RightWidth = 0;
    int SideHeight = 0;          // height of the left and right strips; 0 when there are none
    std::array<TRect, 4> Strips; // by TbsFormLayerBorderType; empty rectangles have no window
};
TbsLayerFrameGeometry LayerFrameGeometry(const TbsDataSkinLayerFrame& Data, int sw, int sh,
                                         const TRect& Form);

// The border hit of screen point P for the strip of kind Type around the form rectangle.
TbsFormLayerBorderHit LayerBorderHit(TbsFormLayerBorderType Type, TPoint P, const TRect& Form, int LeftSize,
                                     int TopSize, int RightSize, int BottomSize);

// One resize step by the pointer's move (dx, dy): the form's new rectangle, or nothing when the
// step does not apply (no move, no change, or clamping would move the edge that must stay).
std::optional<TRect> LayerBorderResize(TbsFormLayerBorderHit Hit, const TRect& Form, int dx, int dy, int MinW,
                                       int MinH, int MaxW, int MaxH);

class TbsFormLayerWindow : public gui::TForm {
public:
    TbsFormLayerWindow(TbsFormLayerBorder* AOwner, gui::TCustomForm* AForm, TbsFormLayerBorderType AType);
    std::string ClassName() const override { return "TbsFormLayerWindow"; }

    bool FDown = false;
    gui::TCustomForm* FForm;
    TbsFormLayerBorder* FLayerBorder;
    TPoint MousePos1, MousePos2;
    TbsFormLayerBorderHit FHitMode = bsflhNone;
    bool FInProcessMessages = false;
    TbsFormLayerBorderType BorderType;

    // The pointer at screen point P, as the mouse handlers see it (tests drive these).
    void PointerDown(TPoint P);
    void PointerMove(TPoint P);
    void PointerUp();

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Dispatch(gui::TMessage& Message) override;
    void MouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;
    void MouseMove(gui::TShiftState Shift, int X, int Y) override;
    void MouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) override;

private:
    TbsFormLayerBorderHit HitOf(TPoint P) const;
    bool CanResize() const;
    void ResizeStep();
};

class TbsFormLayerBorder : public gui::TComponent {
public:
    // ASkinForm: the form component that owns the border; it may be null (no resizing).
    TbsFormLayerBorder(gui::TComponent* AOwner, TbsSkinForm* ASkinForm);
    ~TbsFormLayerBorder() override;
    std::string ClassName() const override { return "TbsFormLayerBorder"; }

    void InitFrame(TbsSkinData* ASkinData, gui::TCustomForm* AForm);
    void Show(int X, int Y, int AWidth, int AHeight);
    void Hide();
    void SetBounds(int X, int Y, int AWidth, int AHeight);
    void ShowWithForm();
    void ShowWithFormAnimation();
    void SetBoundsWithForm();
    void SetBoundsWithForm2(int AW, int AH);
    void SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH);
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    void SetActive(bool AValue, bool AUpdate);
    void CheckFormAlpha(int AFormAlpha, bool AUpdate);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void Draw(gui::TCanvas* Canvas, int X, int Y, int AWidth, int AHeight);

    TbsSkinForm* BSF;
    gui::TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;
    TbsDataSkinLayerFrame* FData = nullptr;
    std::unique_ptr<TbsBitmap> FSourceBitmap, FSourceInActiveBitMap;
    std::array<std::unique_ptr<TbsBitmap>, 4> Images;           // by TbsFormLayerBorderType
    std::array<std::unique_ptr<TbsFormLayerWindow>, 4> Windows; // by TbsFormLayerBorderType
    int FWidth = 0, FHeight = 0;
    int LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1, FCurrentInActiveAlphaBlendValue = 0;
    // Set while a drag on the border resizes the form; the form's own size tracking follows it.
    bool FBorderLayerChangeSize = false;

    TbsLayerFrameGeometry Geometry(const TRect& Form) const;
    TRect FormRect() const;

private:
    void CreateBorderImages(int AWidth, int AHeight);
    int CurrentAlpha() const { return FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue; }
    void PlaceWindows(int X, int Y, bool Show);
};

} // namespace skin

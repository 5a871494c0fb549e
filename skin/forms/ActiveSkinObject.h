#pragma once
// Caption objects: the parts of a skinned frame that react to the mouse (caption buttons, the
// caption text, animations and the application's own areas).  Each is made from one
// descriptor of the skin's object list; the form owns, places, hit-tests and drives them, and
// they draw onto the frame and report the mouse back through the form's object events.
#include "gui/ControlTypes.h"
#include "gui/Graphics.h"
#include "gui/Menu.h"
#include "os/Component.h"
#include "skin/core/DataSkinObjects.h"
#include "skin/core/SkinPicture.h"

#include <string>

namespace skin {

class TbsSkinForm;
class TbsSkinData;

class TbsActiveSkinObject : public os::TObject {
public:
    // AData may be null: the default look's buttons fill in what they need themselves.
    TbsActiveSkinObject(TbsSkinForm* AParent, const TbsDataSkinObject* AData);
    std::string ClassName() const override { return "TbsActiveSkinObject"; }
    TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
    TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

    // X, Y relative to ObjectRect's top-left corner.
    virtual bool PointInObject(int X, int Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    virtual bool CanMorphing();
    virtual void Draw(gui::TCanvas* Cnvs, bool UpDate);
    virtual void DblClick() {}
    // Mouse coordinates are the form window's, the space of ObjectRect.
    virtual void MouseDown(int X, int Y, gui::TMouseButton Button);
    virtual void MouseUp(int X, int Y, gui::TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool EnableMorphing() const;
    void DoMorphing();
    void ReDraw();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double value);

    TbsSkinForm* Parent;
    double FMorphKf = 0;
    bool FMouseIn = false;
    // Pictures belong to the skin data; a picture index that addresses none gives null.
    const TbsPicture* Picture = nullptr;
    const TbsPicture* ActivePicture = nullptr;
    const TbsPicture* ActiveMaskPicture = nullptr;
    TbsSkinData* SD = nullptr;
    std::string IDName;
    std::string Hint;
    TRect SkinRect, ActiveSkinRect, InActiveSkinRect, ObjectRect;
    bool Active = false;
    bool Morphing = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;
    bool Enabled = true;
    bool Visible = true;
    bool SkinRectInAPicture = false;
    int GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;

protected:
    bool HasSkin() const;
    // The glow frame beside the object on the given manager (the form's button or menu one).
    void ShowLayerOn(bool menuManager);
    void HideLayerOn(bool menuManager);
    // Draws the normal toward the hover image of the given rectangles, blended by MorphKf.
    void DrawMorph(gui::TCanvas* Cnvs, const TbsPicture* normalPicture, const TRect& normal,
                   const TRect& hover);
    bool MorphUnderWay() const;
};

// An area of the frame that the application paints itself, through the form's OnPaintEvent.
class TbsUserObject : public TbsActiveSkinObject {
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(gui::TCanvas* Cnvs, bool UpDate) override;
};

// The active picture at a descriptor's index, or null when the index addresses none.
const TbsPicture* ActivePictureAt(const TbsSkinData* data, int index);
// Rectangle `source` of `picture` stretched onto `dest` of the canvas; nothing for a missing
// picture or an empty rectangle on either side.
void CopyPictureRect(gui::TCanvas* Cnvs, const TbsPicture* picture, const TRect& source, const TRect& dest);
bool IsEmptySkinRect(const TRect& r);
gui::TRect ToGui(const TRect& r);

} // namespace skin

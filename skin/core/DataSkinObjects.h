#pragma once
// Form-object descriptors (caption, caption buttons, animations, menu items, user objects)
// and the window-level descriptors of a skin: the colour set, popup-menu windows, the layered
// form border and hint windows.  Fields a row does not give start at zero.
#include "skin/core/SkinTypes.h"

#include <memory>
#include <string>

namespace gui {
class TCustomIniFile;
}

namespace skin {

class TbsDataSkinObject {
public:
    explicit TbsDataSkinObject(const std::string& AIDName) : IDName(AIDName) {}
    virtual ~TbsDataSkinObject() = default;
    virtual void LoadFromFile(gui::TCustomIniFile& IniFile);
    // Erases the section IDName first.
    virtual void SaveToFile(gui::TCustomIniFile& IniFile);

    std::string IDName;
    std::string Hint;
    bool SkinRectInAPicture = false;
    TRect SkinRect, ActiveSkinRect;
    int32_t ActivePictureIndex = -1, ActiveMaskPictureIndex = -1;
    TRect InActiveSkinRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;
    int32_t GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int32_t GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
    int32_t GlowLayerAlphaBlendValue = 255;
};

// Reads and writes only "skinrect".
class TbsDataUserObject : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;
};

class TbsDataSkinButton : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;
    TRect DownRect, DisableSkinRect;
};

class TbsDataSkinStdButton : public TbsDataSkinButton {
public:
    using TbsDataSkinButton::TbsDataSkinButton;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;
    TbsStdCommand Command = TbsStdCommand::cmClose;
    std::string RestoreHint;
    TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
};

class TbsDataSkinMainMenuBarButton : public TbsDataSkinStdButton {
public:
    using TbsDataSkinStdButton::TbsDataSkinStdButton;
};

class TbsDataSkinAnimate : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;
    int32_t CountFrames = 0;
    bool Cycle = false, ButtonStyle = false;
    int32_t TimerInterval = 0;
    TbsStdCommand Command = TbsStdCommand::cmClose;
    TRect DownSkinRect;
    std::string RestoreHint;
    TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInActiveRect;
};

class TbsDataSkinMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;
    TRect DividerRect;
    int32_t DividerLO = 0, DividerRO = 0, ItemLO = 0, ItemRO = 0;
    std::string FontName;
    int32_t FontHeight = 0;
    TFontStyles FontStyle = 0;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0;
    TRect TextRct, ImageRct;
    bool UseImageColor = false;
    TColor ImageColor = 0, ActiveImageColor = 0;
    bool StretchEffect = false, DividerStretchEffect = false, InActiveStretchEffect = false;
    TRect AnimateSkinRect;
    int32_t FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false, InActiveTransparent = false;
    TRect CheckImageRect, ActiveCheckImageRect, RadioImageRect, ActiveRadioImageRect, ArrowImageRect,
        ActiveArrowImageRect;
};

class TbsDataSkinMainMenuItem : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;
    TRect DownRect;
    std::string FontName;
    int32_t FontHeight = 0;
    TFontStyles FontStyle = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, UnEnabledFontColor = 0;
    TRect TextRct;
    int32_t ItemLO = 0, ItemRO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int32_t FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false;
};

class TbsDataSkinMainMenuBarItem : public TbsDataSkinMainMenuItem {
public:
    using TbsDataSkinMainMenuItem::TbsDataSkinMainMenuItem;
};

class TbsDataSkinCaption : public TbsDataSkinObject {
public:
    using TbsDataSkinObject::TbsDataSkinObject;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;
    std::string FontName;
    int32_t FontHeight = 0;
    TFontStyles FontStyle = 0;
    TColor FontColor = 0, ActiveFontColor = 0, ShadowColor = 0, ActiveShadowColor = 0;
    bool Shadow = false;
    TAlignment Alignment = TAlignment::taLeftJustify;
    TRect TextRct, FrameRect, ActiveFrameRect;
    int32_t FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;
    bool Light = false;
    TColor LightColor = 0, ActiveLightColor = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    int32_t FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false, FullFrame = false;
    bool GlowEffect = false, VistaGlowEffect = false, VistaGlowInActiveEffect = false,
         GlowInActiveEffect = false;
    int32_t GlowSize = 0;
    TColor GlowColor = 0, GlowActiveColor = 0;
    int32_t GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0, ReflectionActiveColor = 0;
    int32_t ReflectionOffset = 0;
};

// The skin's eight system colours, section [SKINCOLORS].
class TbsSkinColors {
public:
    // Sets them to the platform's system colours of the same names.
    void SetColorsToDefault();
    void LoadFromFile(gui::TCustomIniFile& IniFile);
    // Leaves the rest of the section as it is.
    void SaveToFile(gui::TCustomIniFile& IniFile);

    TColor cBtnFace() const { return FcBtnFace; }
    TColor cBtnText() const { return FcBtnText; }
    TColor cWindow() const { return FcWindow; }
    TColor cWindowText() const { return FcWindowText; }
    TColor cHighLight() const { return FcHighLight; }
    TColor cHighLightText() const { return FcHighLightText; }
    TColor cBtnHighLight() const { return FcBtnHighLight; }
    TColor cBtnShadow() const { return FcBtnShadow; }
    void SetcBtnFace(TColor c) { FcBtnFace = c; }
    void SetcBtnText(TColor c) { FcBtnText = c; }
    void SetcWindow(TColor c) { FcWindow = c; }
    void SetcWindowText(TColor c) { FcWindowText = c; }
    void SetcHighLight(TColor c) { FcHighLight = c; }
    void SetcHighLightText(TColor c) { FcHighLightText = c; }
    void SetcBtnHighLight(TColor c) { FcBtnHighLight = c; }
    void SetcBtnShadow(TColor c) { FcBtnShadow = c; }

    TColor FcBtnFace = 0, FcBtnText = 0, FcWindow = 0, FcWindowText = 0, FcHighLight = 0, FcHighLightText = 0,
           FcBtnHighLight = 0, FcBtnShadow = 0;
};

// Section [POPUPWINDOW]: the nine-part picture of popup-menu windows.
class TbsDataSkinPopupWindow {
public:
    void LoadFromFile(gui::TCustomIniFile& IniFile);
    void SaveToFile(gui::TCustomIniFile& IniFile);
    int32_t WindowPictureIndex = -1, MaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ItemsRect;
    TColor ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;
    bool TopStretch = false, LeftStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = TbsStretchType::bsstFull;
};

// Section [LAYERFRAME]: the layered shadow border of forms.
class TbsDataSkinLayerFrame {
public:
    void LoadFromFile(gui::TCustomIniFile& IniFile);
    void SaveToFile(gui::TCustomIniFile& IniFile);
    int32_t PictureIndex = -1, MaskPictureIndex = -1, InActivePictureIndex = -1,
            InActiveMaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    int32_t AlphaBlendValue = 255, InActiveAlphaBlendValue = 255;
    TRect BorderRect;
    bool HitTestEnable = false;
};

// Section [HINTWINDOW].
class TbsDataSkinHintWindow {
public:
    void LoadFromFile(gui::TCustomIniFile& IniFile);
    void SaveToFile(gui::TCustomIniFile& IniFile);
    int32_t WindowPictureIndex = -1, MaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    std::string FontName = "Arial";
    TFontStyles FontStyle = 0;
    int32_t FontHeight = 12; // a loaded section without "fontheight" gives 14
    TColor FontColor = 0;
    bool TopStretch = false, LeftStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = TbsStretchType::bsstFull;
};

// The descriptor of a [SKINOBJECTS] type keyword (exact match), or nullptr.
std::unique_ptr<TbsDataSkinObject> CreateDataSkinObject(const std::string& keyword,
                                                        const std::string& AIDName);
std::string DataSkinObjectKeyword(const TbsDataSkinObject& object);

} // namespace skin

#pragma once
// Control descriptors: the parsed section of one [SKINCONTROLS] entry.  A skinned control
// finds its descriptor by name in the skin data, tests its class and copies the fields it
// needs.  Every descriptor writes all of its keys, so a written section reads back to the
// same fields.
#include "skin/core/SkinTypes.h"

#include <memory>
#include <string>

namespace gui {
class TCustomIniFile;
}

namespace skin {

class TbsDataSkinControl {
public:
    explicit TbsDataSkinControl(const std::string& AIDName) : IDName(AIDName) {}
    virtual ~TbsDataSkinControl() = default;
    virtual void LoadFromFile(gui::TCustomIniFile& IniFile);
    // Erases the section IDName first.
    virtual void SaveToFile(gui::TCustomIniFile& IniFile);

    std::string IDName;
    int32_t PictureIndex = -1;
    int32_t MaskPictureIndex = -1;
    TRect SkinRect;
};

// Adds the nine-part geometry; points and client rect are relative to SkinRect.
class TbsDataSkinCustomControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;
    void SaveToFile(gui::TCustomIniFile& IniFile) override;

    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = TbsStretchType::bsstFull;
};

#define TBS_DESCRIPTOR_IO                                                                                    \
    void LoadFromFile(gui::TCustomIniFile& IniFile) override;                                                \
    void SaveToFile(gui::TCustomIniFile& IniFile) override;

#define TBS_FONT_GROUP                                                                                       \
    std::string FontName;                                                                                    \
    int32_t FontHeight = 0;                                                                                  \
    TFontStyles FontStyle = 0;                                                                               \
    TColor FontColor = 0;

#define TBS_ARROW_GROUP                                                                                      \
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,          \
        DownDownButtonRect;

class TbsDataSkinPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    int32_t BGPictureIndex = -1;
    TRect CaptionRect;
    TAlignment Alignment = TAlignment::taCenter;
    TBS_FONT_GROUP
    TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
    int32_t FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;
};

class TbsDataSkinExPanelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect RollHSkinRect, RollVSkinRect;
    int32_t RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
    TRect RollVCaptionRect, RollHCaptionRect;
    TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    TRect HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
    TRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect;
    TRect VRollButtonRect, VRollButtonActiveRect, VRollButtonDownRect;
    TRect VRestoreButtonRect, VRestoreButtonActiveRect, VRestoreButtonDownRect;
    TRect CaptionRect;
    TBS_FONT_GROUP
    bool ButtonsTransparent = false;
    TColor ButtonsTransparentColor = 0;
};

class TbsDataSkinButtonControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TBS_FONT_GROUP
    TColor ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    TRect ActiveSkinRect, DownSkinRect, FocusedSkinRect, DisabledSkinRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;
    TRect AnimateSkinRect;
    int32_t FrameCount = 0, AnimateInterval = 25;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;
    int32_t GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    int32_t GlowLayerOffsetLeft = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetRight = 0,
            GlowLayerOffsetBottom = 0;
    int32_t GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
    int32_t GlowLayerAlphaBlendValue = 255;
};

class TbsDataSkinMenuButtonControl : public TbsDataSkinButtonControl {
public:
    using TbsDataSkinButtonControl::TbsDataSkinButtonControl;
    TBS_DESCRIPTOR_IO
    TRect TrackButtonRect; // the drop-down part of the button
};

class TbsDataSkinCheckRadioControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TBS_FONT_GROUP
    TColor ActiveFontColor = 0, UnEnabledFontColor = 0, FrameFontColor = 0;
    TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect, ActiveCheckImageRect,
        ActiveUnCheckImageRect, UnEnabledCheckImageRect, UnEnabledUnCheckImageRect, GrayedCheckImageRect,
        ActiveGrayedCheckImageRect;
    bool Morphing = false;
    TbsMorphKind MorphKind = TbsMorphKind::mkDefault;
};

class TbsDataSkinGaugeControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect ProgressArea, ProgressRect;
    int32_t BeginOffset = 0, EndOffset = 0;
    bool Vertical = false;
    TBS_FONT_GROUP
    bool ProgressTransparent = false;
    TColor ProgressTransparentColor = 0;
    bool ProgressStretch = false;
    TRect AnimationSkinRect;
    int32_t AnimationCountFrames = 0, AnimationTimerInterval = 0;
    TRect ProgressAnimationSkinRect;
    int32_t ProgressAnimationCountFrames = 0, ProgressAnimationTimerInterval = 0;
    int32_t AnimationBeginOffset = 0, AnimationEndOffset = 0;
};

class TbsDataSkinSplitterControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;
};

class TbsDataSkinTrackBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect;
    bool Vertical = false;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
};

class TbsDataSkinLabelControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TBS_FONT_GROUP
};

class TbsDataSkinStdLabelControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TBS_FONT_GROUP
    TColor ActiveFontColor = 16711680;
};

// Has no nine-part geometry: its points and client rect are always zero.
class TbsDataSkinUpDownControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TBS_ARROW_GROUP
};

class TbsDataSkinGridControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TRect FixedCellRect, SelectCellRect, FocusCellRect;
    int32_t FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
    TRect FixedCellTextRect;
    int32_t CellLeftOffset = 0, CellRightOffset = 0;
    TRect CellTextRect;
    int32_t BGPictureIndex = -1;
    TColor LinesColor = 0, BGColor = 0;
    TBS_FONT_GROUP
    TColor SelectFontColor = 0, FocusFontColor = 0;
    std::string FixedFontName;
    int32_t FixedFontHeight = 0;
    TFontStyles FixedFontStyle = 0;
    TColor FixedFontColor = 0;
    bool CellStretchEffect = false, FixedCellStretchEffect = false;
    bool ShowFocus = false;
};

// Carries its own nine-part keys for the page area.
class TbsDataSkinTabControl : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect;
    TRect ClRect;
    int32_t BGPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    int32_t TabLeftOffset = 0, TabRightOffset = 0;
    TRect TabsBGRect;
    bool TabStretchEffect = false;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = TbsStretchType::bsstFull;
    TBS_FONT_GROUP
    TColor ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    std::string UpDown; // IDName of the up/down descriptor of the tab scroller
    bool ShowFocus = false;
    int32_t FocusOffsetX = 0, FocusOffsetY = 0;
    TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
};

class TbsDataSkinMainMenuBar : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TRect ItemsRect;
    std::string MenuBarItem; // IDName of the menu-bar item object
    std::string CloseButton, MinButton, MaxButton, SysMenuButton;
    TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
    bool StretchEffect = false, ItemTransparent = false;
};

class TbsDataSkinControlBar : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect ItemRect;
    int32_t BGPictureIndex = -1;
    TRect HGripRect, VGripRect;
    int32_t GripOffset1 = 0, GripOffset2 = 0;
    bool ItemStretchEffect = false;
    int32_t ItemOffset1 = 3, ItemOffset2 = 3;
    bool ItemTransparent = false;
    TColor ItemTransparentColor = 0;
    bool GripTransparent = false;
    TColor GripTransparentColor = 0;
};

class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect ActiveSkinRect;
    TBS_FONT_GROUP
    TColor DisabledFontColor = 0, ActiveFontColor = 0;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
};

class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
public:
    using TbsDataSkinEditControl::TbsDataSkinEditControl;
    TBS_DESCRIPTOR_IO
    TColor BGColor = 0, ActiveBGColor = 0;
};

class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect ActiveSkinRect;
    TBS_FONT_GROUP
    TColor ActiveFontColor = 0, DisabledFontColor = 0;
    TBS_ARROW_GROUP
};

class TbsDataSkinListBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    int32_t ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    TBS_FONT_GROUP
    TColor ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect;
    std::string CaptionFontName;
    int32_t CaptionFontHeight = 0;
    TFontStyles CaptionFontStyle = 0;
    TColor CaptionFontColor = 0;
    TBS_ARROW_GROUP
    TRect CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    // IDNames of the scroll-bar descriptors; BothScrollBarName is the horizontal bar shown
    // together with a vertical one.
    std::string VScrollBarName, HScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect DisabledButtonsRect, ButtonsArea;
};

class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
public:
    using TbsDataSkinListBox::TbsDataSkinListBox;
    TBS_DESCRIPTOR_IO
    TRect ItemCheckRect, CheckImageRect, UnCheckImageRect;
};

class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect ActiveSkinRect;
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    int32_t ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    TBS_FONT_GROUP
    TColor FocusFontColor = 0, ActiveFontColor = 0;
    std::string ListBoxName; // IDName of the list-box descriptor of the drop-down list
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false;
    bool ShowFocus = false;
};

class TbsDataSkinScrollBarControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    TRect TrackArea;
    TBS_ARROW_GROUP
    TRect ThumbRect, ActiveThumbRect, DownThumbRect;
    int32_t ThumbOffset1 = 0, ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    bool ThumbStretchEffect = false;
    int32_t ThumbMinSize = 0, ThumbMinPageSize = 0;
    TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;
};

class TbsDataSkinScrollBoxControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    TBS_DESCRIPTOR_IO
    int32_t BGPictureIndex = -1;
};

class TbsDataSkinTreeView : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TBS_FONT_GROUP
    TColor BGColor = 0;
};

class TbsDataSkinListView : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TBS_FONT_GROUP
    TColor BGColor = 0;
};

class TbsDataSkinRichEdit : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TBS_FONT_GROUP
    TColor BGColor = 0;
};

class TbsDataSkinBevel : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TColor LightColor = 0, DarkColor = 0;
};

class TbsDataSkinSlider : public TbsDataSkinControl {
public:
    using TbsDataSkinControl::TbsDataSkinControl;
    TBS_DESCRIPTOR_IO
    TColor BGColor = 0;
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    int32_t EdgeSize = 0;
    TColor PointsColor = 0;
};

#undef TBS_DESCRIPTOR_IO
#undef TBS_FONT_GROUP
#undef TBS_ARROW_GROUP

// The descriptor of a [SKINCONTROLS] type keyword (exact match), or nullptr when the keyword
// names no type.
std::unique_ptr<TbsDataSkinControl> CreateDataSkinControl(const std::string& keyword,
                                                          const std::string& AIDName);
// The keyword a writer puts for the descriptor's class.
std::string DataSkinControlKeyword(const TbsDataSkinControl& control);

} // namespace skin

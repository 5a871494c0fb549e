#include "skin/core/DataSkinControls.h"

#include "skin/core/SkinKeys.h"

namespace skin {

using keys::ArrowGroup;
using keys::FontGroup;
using keys::Join;
using keys::K;
using keys::S;

namespace {

// Loads or saves a class's own keys after its base's.
#define TBS_DESCRIPTOR_IO_IMPL(Class, Base, table)                                                           \
    void Class::LoadFromFile(gui::TCustomIniFile& IniFile) {                                                 \
        Base::LoadFromFile(IniFile);                                                                         \
        ReadSkinKeys(IniFile, IDName, *this, table());                                                       \
    }                                                                                                        \
    void Class::SaveToFile(gui::TCustomIniFile& IniFile) {                                                   \
        Base::SaveToFile(IniFile);                                                                           \
        WriteSkinKeys(IniFile, IDName, *this, table());                                                      \
    }

using C0 = TbsDataSkinControl;
const std::vector<TbsSkinKey<C0>>& ControlKeys() {
    static const std::vector<TbsSkinKey<C0>> t = {
        K<C0>("pictureindex", &C0::PictureIndex, -1),
        K<C0>("maskpictureindex", &C0::MaskPictureIndex, -1),
        K<C0>("skinrect", &C0::SkinRect),
    };
    return t;
}

using CC = TbsDataSkinCustomControl;
const std::vector<TbsSkinKey<CC>>& CustomKeys() {
    static const std::vector<TbsSkinKey<CC>> t = {
        K<CC>("lefttoppoint", &CC::LTPoint),        K<CC>("righttoppoint", &CC::RTPoint),
        K<CC>("leftbottompoint", &CC::LBPoint),     K<CC>("rightbottompoint", &CC::RBPoint),
        K<CC>("clientrect", &CC::ClRect),           K<CC>("leftstretch", &CC::LeftStretch),
        K<CC>("topstretch", &CC::TopStretch),       K<CC>("rightstretch", &CC::RightStretch),
        K<CC>("bottomstretch", &CC::BottomStretch), K<CC>("stretcheffect", &CC::StretchEffect),
        K<CC>("stretchtype", &CC::StretchType),
    };
    return t;
}

using Pn = TbsDataSkinPanelControl;
const std::vector<TbsSkinKey<Pn>>& PanelKeys() {
    static const auto t = Join<Pn>({
        {K<Pn>("bgpictureindex",  &Pn::BGPictureIndex, -1),               K<Pn>("captionrect", &Pn::CaptionRect),
         K<Pn>("alignment",               &Pn::Alignment)              },
        FontGroup<Pn>(),
        { K<Pn>("checkimagerect", &Pn::CheckImageRect), K<Pn>("uncheckimagerect", &Pn::UnCheckImageRect),
         K<Pn>("markframerect", &Pn::MarkFrameRect), K<Pn>("framerect", &Pn::FrameRect),
         K<Pn>("frametextrect", &Pn::FrameTextRect), K<Pn>("frameleftoffset", &Pn::FrameLeftOffset),
         K<Pn>("framerightoffset", &Pn::FrameRightOffset), K<Pn>("gripperrect", &Pn::GripperRect),
         K<Pn>("grippertransparent", &Pn::GripperTransparent),
         K<Pn>("grippertransparentcolor", &Pn::GripperTransparentColor)},
    });
    return t;
}

using Ex = TbsDataSkinExPanelControl;
const std::vector<TbsSkinKey<Ex>>& ExPanelKeys() {
    static const auto t = Join<Ex>({
        {K<Ex>("rollhskinrect", &Ex::RollHSkinRect),
         K<Ex>("rollvskinrect",                          &Ex::RollVSkinRect),
         K<Ex>("rollleftoffset", &Ex::RollLeftOffset),
         K<Ex>("rollrightoffset", &Ex::RollRightOffset),
         K<Ex>("rolltopoffset", &Ex::RollTopOffset),
         K<Ex>("rollbottomoffset", &Ex::RollBottomOffset),
         K<Ex>("rollvcaptionrect", &Ex::RollVCaptionRect),
         K<Ex>("rollhcaptionrect", &Ex::RollHCaptionRect),
         K<Ex>("closebuttonrect", &Ex::CloseButtonRect),
         K<Ex>("closebuttonactiverect", &Ex::CloseButtonActiveRect),
         K<Ex>("closebuttondownrect", &Ex::CloseButtonDownRect),
         K<Ex>("hrollbuttonrect", &Ex::HRollButtonRect),
         K<Ex>("hrollbuttonactiverect", &Ex::HRollButtonActiveRect),
         K<Ex>("hrollbuttondownrect", &Ex::HRollButtonDownRect),
         K<Ex>("hrestorebuttonrect", &Ex::HRestoreButtonRect),
         K<Ex>("hrestorebuttonactiverect", &Ex::HRestoreButtonActiveRect),
         K<Ex>("hrestorebuttondownrect", &Ex::HRestoreButtonDownRect),
         K<Ex>("vrollbuttonrect", &Ex::VRollButtonRect),
         K<Ex>("vrollbuttonactiverect", &Ex::VRollButtonActiveRect),
         K<Ex>("vrollbuttondownrect", &Ex::VRollButtonDownRect),
         K<Ex>("vrestorebuttonrect", &Ex::VRestoreButtonRect),
         K<Ex>("vrestorebuttonactiverect", &Ex::VRestoreButtonActiveRect),
         K<Ex>("vrestorebuttondownrect", &Ex::VRestoreButtonDownRect),
         K<Ex>("captionrect", &Ex::CaptionRect)},
        FontGroup<Ex>(),
        {K<Ex>("buttonstransparent", &Ex::ButtonsTransparent),
         K<Ex>("buttonstransparentcolor", &Ex::ButtonsTransparentColor)                                              },
    });
    return t;
}

using Bt = TbsDataSkinButtonControl;
const std::vector<TbsSkinKey<Bt>>& ButtonKeys() {
    static const auto t = Join<Bt>({
        FontGroup<Bt>(),
        {K<Bt>("activefontcolor", &Bt::ActiveFontColor),
                K<Bt>("downfontcolor", &Bt::DownFontColor),
                K<Bt>("disabledfontcolor", &Bt::DisabledFontColor),
                K<Bt>("activeskinrect", &Bt::ActiveSkinRect),
                K<Bt>("downskinrect", &Bt::DownSkinRect),
                K<Bt>("focusedskinrect", &Bt::FocusedSkinRect),
                K<Bt>("disabledskinrect", &Bt::DisabledSkinRect),
                K<Bt>("morphing", &Bt::Morphing),
                K<Bt>("morphkind", &Bt::MorphKind),
                K<Bt>("animateskinrect", &Bt::AnimateSkinRect),
                K<Bt>("framecount", &Bt::FrameCount),
                K<Bt>("animateinterval", &Bt::AnimateInterval, 25),
                K<Bt>("showfocus", &Bt::ShowFocus),
                K<Bt>("menumarkerflatrect", &Bt::MenuMarkerFlatRect),
                K<Bt>("menumarkerrect", &Bt::MenuMarkerRect),
                K<Bt>("menumarkeractiverect", &Bt::MenuMarkerActiveRect),
                K<Bt>("menumarkerdownrect", &Bt::MenuMarkerDownRect),
                K<Bt>("menumarkertransparentcolor", &Bt::MenuMarkerTransparentColor),
                K<Bt>("glowlayerpictureindex", &Bt::GlowLayerPictureIndex, -1),
                K<Bt>("glowlayermaskpictureindex", &Bt::GlowLayerMaskPictureIndex, -1),
                K<Bt>("glowlayeroffsetleft", &Bt::GlowLayerOffsetLeft),
                K<Bt>("glowlayeroffsettop", &Bt::GlowLayerOffsetTop),
                K<Bt>("glowlayeroffsetright", &Bt::GlowLayerOffsetRight),
                K<Bt>("glowlayeroffsetbottom", &Bt::GlowLayerOffsetBottom),
                K<Bt>("glowlayershowoffsetx", &Bt::GlowLayerShowOffsetX),
                K<Bt>("glowlayershowoffsety", &Bt::GlowLayerShowOffsetY),
                K<Bt>("glowlayeralphablendvalue", &Bt::GlowLayerAlphaBlendValue, 255)},
    });
    return t;
}

using MB = TbsDataSkinMenuButtonControl;
const std::vector<TbsSkinKey<MB>>& MenuButtonKeys() {
    static const std::vector<TbsSkinKey<MB>> t = {
        K<MB>("trackbuttonrect", &MB::TrackButtonRect),
    };
    return t;
}

using CR = TbsDataSkinCheckRadioControl;
const std::vector<TbsSkinKey<CR>>& CheckRadioKeys() {
    static const auto t = Join<CR>({
        FontGroup<CR>(),
        {K<CR>("activefontcolor", &CR::ActiveFontColor), K<CR>("unenabledfontcolor", &CR::UnEnabledFontColor),
                K<CR>("framefontcolor", &CR::FrameFontColor), K<CR>("activeskinrect", &CR::ActiveSkinRect),
                K<CR>("checkimagearea", &CR::CheckImageArea), K<CR>("textarea", &CR::TextArea),
                K<CR>("checkimagerect", &CR::CheckImageRect), K<CR>("uncheckimagerect", &CR::UnCheckImageRect),
                K<CR>("activecheckimagerect", &CR::ActiveCheckImageRect),
                K<CR>("activeuncheckimagerect", &CR::ActiveUnCheckImageRect),
                K<CR>("unenabledcheckimagerect", &CR::UnEnabledCheckImageRect),
                K<CR>("unenableduncheckimagerect", &CR::UnEnabledUnCheckImageRect),
                K<CR>("grayedcheckimagerect", &CR::GrayedCheckImageRect),
                K<CR>("activegrayedcheckimagerect", &CR::ActiveGrayedCheckImageRect),
                K<CR>("morphing", &CR::Morphing), K<CR>("morphkind", &CR::MorphKind)},
    });
    return t;
}

using Ga = TbsDataSkinGaugeControl;
const std::vector<TbsSkinKey<Ga>>& GaugeKeys() {
    static const auto t = Join<Ga>({
        {K<Ga>("progressarea",              &Ga::ProgressArea),              K<Ga>("progressrect", &Ga::ProgressRect),
         K<Ga>("beginoffset",                    &Ga::BeginOffset),                    K<Ga>("endoffset", &Ga::EndOffset),
         K<Ga>("vertical",           &Ga::Vertical)          },
        FontGroup<Ga>(),
        { K<Ga>("progresstransparent", &Ga::ProgressTransparent),
         K<Ga>("progresstransparentcolor", &Ga::ProgressTransparentColor),
         K<Ga>("progressstretch", &Ga::ProgressStretch), K<Ga>("animationskinrect", &Ga::AnimationSkinRect),
         K<Ga>("animationcountframes", &Ga::AnimationCountFrames),
         K<Ga>("animationtimerinterval", &Ga::AnimationTimerInterval),
         K<Ga>("progressanimationskinrect", &Ga::ProgressAnimationSkinRect),
         K<Ga>("progressanimationcountframes", &Ga::ProgressAnimationCountFrames),
         K<Ga>("progressanimationtimerinterval", &Ga::ProgressAnimationTimerInterval),
         K<Ga>("animationbeginoffset", &Ga::AnimationBeginOffset),
         K<Ga>("animationendoffset", &Ga::AnimationEndOffset)},
    });
    return t;
}

using Sp = TbsDataSkinSplitterControl;
const std::vector<TbsSkinKey<Sp>>& SplitterKeys() {
    static const std::vector<TbsSkinKey<Sp>> t = {
        K<Sp>("gripperrect", &Sp::GripperRect),
        K<Sp>("grippertransparent", &Sp::GripperTransparent),
        K<Sp>("grippertransparentcolor", &Sp::GripperTransparentColor),
    };
    return t;
}

using TB = TbsDataSkinTrackBarControl;
const std::vector<TbsSkinKey<TB>>& TrackBarKeys() {
    static const std::vector<TbsSkinKey<TB>> t = {
        K<TB>("activeskinrect", &TB::ActiveSkinRect),
        K<TB>("trackarea", &TB::TrackArea),
        K<TB>("buttonrect", &TB::ButtonRect),
        K<TB>("activebuttonrect", &TB::ActiveButtonRect),
        K<TB>("vertical", &TB::Vertical),
        K<TB>("buttontransparent", &TB::ButtonTransparent),
        K<TB>("buttontransparentcolor", &TB::ButtonTransparentColor),
    };
    return t;
}

using La = TbsDataSkinLabelControl;
const std::vector<TbsSkinKey<La>>& LabelKeys() {
    static const auto t = FontGroup<La>();
    return t;
}

using SL = TbsDataSkinStdLabelControl;
const std::vector<TbsSkinKey<SL>>& StdLabelKeys() {
    static const auto t =
        Join<SL>({FontGroup<SL>(), {K<SL>("activefontcolor", &SL::ActiveFontColor, 16711680)}});
    return t;
}

using UD = TbsDataSkinUpDownControl;
const std::vector<TbsSkinKey<UD>>& UpDownKeys() {
    static const auto t = ArrowGroup<UD>();
    return t;
}

using Gr = TbsDataSkinGridControl;
const std::vector<TbsSkinKey<Gr>>& GridKeys() {
    static const auto t = Join<Gr>({
        {K<Gr>("fixedcellrect", &Gr::FixedCellRect), K<Gr>("selectcellrect", &Gr::SelectCellRect),
         K<Gr>("focuscellrect",            &Gr::FocusCellRect),    K<Gr>("fixedcellleftoffset", &Gr::FixedCellLeftOffset),
         K<Gr>("fixedcellrightoffset",                                                                                                                                                            &Gr::FixedCellRightOffset),
         K<Gr>("fixedcelltextrect",                 &Gr::FixedCellTextRect), K<Gr>("cellleftoffset", &Gr::CellLeftOffset),
         K<Gr>("cellrightoffset",                              &Gr::CellRightOffset),                                                                                                                                                                                                K<Gr>("celltextrect", &Gr::CellTextRect),
         K<Gr>("bgpictureindex",                                                                                          &Gr::BGPictureIndex,                                                                        -1), K<Gr>("linescolor", &Gr::LinesColor),
         K<Gr>("bgcolor", &Gr::BGColor)},
        FontGroup<Gr>(),
        {K<Gr>("selectfontcolor",   &Gr::SelectFontColor),      K<Gr>("focusfontcolor",                                                    &Gr::FocusFontColor),
         S<Gr>("fixedfontname", &Gr::FixedFontName, "Arial"),
         K<Gr>("fixedfontheight",   &Gr::FixedFontHeight, 14),                                                                                                                                                                                               K<Gr>("fixedfontstyle", &Gr::FixedFontStyle),
         K<Gr>("fixedfontcolor",                                                                    &Gr::FixedFontColor),                                                                  K<Gr>("cellstretcheffect", &Gr::CellStretchEffect),
         K<Gr>("fixedcellstretcheffect", &Gr::FixedCellStretchEffect),                                                                                                                                                                                                                                                                                               K<Gr>("showfocus", &Gr::ShowFocus)},
    });
    return t;
}

using Tb = TbsDataSkinTabControl;
const std::vector<TbsSkinKey<Tb>>& TabKeys() {
    static const auto t = Join<Tb>({
        {K<Tb>("tabrect",    &Tb::TabRect),
         K<Tb>("activetabrect",    &Tb::ActiveTabRect),
         K<Tb>("focustabrect", &Tb::FocusTabRect),
         K<Tb>("mouseintabrect", &Tb::MouseInTabRect),
         K<Tb>("clientrect",   &Tb::ClRect),
         K<Tb>("bgpictureindex", &Tb::BGPictureIndex, -1),
         K<Tb>("lefttoppoint",                       &Tb::LTPoint),
         K<Tb>("righttoppoint",                  &Tb::RTPoint),
         K<Tb>("leftbottompoint",                                          &Tb::LBPoint),
         K<Tb>("rightbottompoint",                                                                                        &Tb::RBPoint),
         K<Tb>("tableftoffset",    &Tb::TabLeftOffset),
         K<Tb>("tabrightoffset",                                              &Tb::TabRightOffset),
         K<Tb>("tabsbgrect", &Tb::TabsBGRect),
         K<Tb>("tabstretcheffect", &Tb::TabStretchEffect),
         K<Tb>("leftstretch", &Tb::LeftStretch),
         K<Tb>("topstretch", &Tb::TopStretch),
         K<Tb>("rightstretch", &Tb::RightStretch),
         K<Tb>("bottomstretch", &Tb::BottomStretch),
         K<Tb>("stretcheffect", &Tb::StretchEffect),
         K<Tb>("stretchtype", &Tb::StretchType)},
        FontGroup<Tb>(),
        {K<Tb>("activefontcolor", &Tb::ActiveFontColor), K<Tb>("focusfontcolor", &Tb::FocusFontColor),
         K<Tb>("mouseinfontcolor",  &Tb::MouseInFontColor),   S<Tb>("updown",     &Tb::UpDown),
         K<Tb>("showfocus", &Tb::ShowFocus), K<Tb>("focusoffsetx",  &Tb::FocusOffsetX),
         K<Tb>("focusoffsety",                            &Tb::FocusOffsetY), K<Tb>("closebuttonrect",                                       &Tb::CloseButtonRect),
         K<Tb>("closebuttonactiverect",              &Tb::CloseButtonActiveRect),
         K<Tb>("closebuttondownrect", &Tb::CloseButtonDownRect),
         K<Tb>("buttontransparent", &Tb::ButtonTransparent),
         K<Tb>("buttontransparentcolor", &Tb::ButtonTransparentColor)},
    });
    return t;
}

using MM = TbsDataSkinMainMenuBar;
const std::vector<TbsSkinKey<MM>>& MainMenuBarKeys() {
    static const std::vector<TbsSkinKey<MM>> t = {
        K<MM>("itemsrect", &MM::ItemsRect),
        S<MM>("menubaritem", &MM::MenuBarItem),
        S<MM>("closebutton", &MM::CloseButton),
        S<MM>("minbutton", &MM::MinButton),
        S<MM>("maxbutton", &MM::MaxButton),
        S<MM>("sysmenubutton", &MM::SysMenuButton),
        K<MM>("trackmarkcolor", &MM::TrackMarkColor),
        K<MM>("trackmarkactivecolor", &MM::TrackMarkActiveColor),
        K<MM>("stretcheffect", &MM::StretchEffect),
        K<MM>("itemtransparent", &MM::ItemTransparent),
    };
    return t;
}

using CB = TbsDataSkinControlBar;
const std::vector<TbsSkinKey<CB>>& ControlBarKeys() {
    static const std::vector<TbsSkinKey<CB>> t = {
        K<CB>("itemrect", &CB::ItemRect),
        K<CB>("bgpictureindex", &CB::BGPictureIndex, -1),
        K<CB>("hgriprect", &CB::HGripRect),
        K<CB>("vgriprect", &CB::VGripRect),
        K<CB>("gripoffset1", &CB::GripOffset1),
        K<CB>("gripoffset2", &CB::GripOffset2),
        K<CB>("itemstretcheffect", &CB::ItemStretchEffect),
        K<CB>("itemoffset1", &CB::ItemOffset1, 3),
        K<CB>("itemoffset2", &CB::ItemOffset2, 3),
        K<CB>("itemtransparent", &CB::ItemTransparent),
        K<CB>("itemtransparentcolor", &CB::ItemTransparentColor),
        K<CB>("griptransparent", &CB::GripTransparent),
        K<CB>("griptransparentcolor", &CB::GripTransparentColor),
    };
    return t;
}

using Ed = TbsDataSkinEditControl;
const std::vector<TbsSkinKey<Ed>>& EditKeys() {
    static const auto t = Join<Ed>({
        {K<Ed>("activeskinrect",      &Ed::ActiveSkinRect)     },
        FontGroup<Ed>(),
        { K<Ed>("disabledfontcolor", &Ed::DisabledFontColor), K<Ed>("activefontcolor", &Ed::ActiveFontColor),
         K<Ed>("buttonrect", &Ed::ButtonRect), K<Ed>("activebuttonrect", &Ed::ActiveButtonRect),
         K<Ed>("downbuttonrect", &Ed::DownButtonRect),
         K<Ed>("unenabledbuttonrect", &Ed::UnEnabledButtonRect)},
    });
    return t;
}

using Me = TbsDataSkinMemoControl;
const std::vector<TbsSkinKey<Me>>& MemoKeys() {
    static const std::vector<TbsSkinKey<Me>> t = {
        K<Me>("bgcolor", &Me::BGColor),
        K<Me>("activebgcolor", &Me::ActiveBGColor),
    };
    return t;
}

using SE = TbsDataSkinSpinEditControl;
const std::vector<TbsSkinKey<SE>>& SpinEditKeys() {
    static const auto t = Join<SE>({
        {K<SE>("activeskinrect",     &SE::ActiveSkinRect)   },
        FontGroup<SE>(),
        { K<SE>("activefontcolor", &SE::ActiveFontColor), K<SE>("disabledfontcolor", &SE::DisabledFontColor)},
        ArrowGroup<SE>(),
    });
    return t;
}

using LB = TbsDataSkinListBox;
const std::vector<TbsSkinKey<LB>>& ListBoxKeys() {
    static const std::vector<TbsSkinKey<LB>> items = {
        K<LB>("itemrect", &LB::SItemRect),
        K<LB>("activeitemrect", &LB::ActiveItemRect),
        K<LB>("focusitemrect", &LB::FocusItemRect),
        K<LB>("itemleftoffset", &LB::ItemLeftOffset),
        K<LB>("itemrightoffset", &LB::ItemRightOffset),
        K<LB>("itemtextrect", &LB::ItemTextRect),
    };
    static const std::vector<TbsSkinKey<LB>> caption = {
        K<LB>("activefontcolor", &LB::ActiveFontColor),
        K<LB>("focusfontcolor", &LB::FocusFontColor),
        K<LB>("captionrect", &LB::CaptionRect),
        S<LB>("captionfontname", &LB::CaptionFontName, "Arial"),
        K<LB>("captionfontheight", &LB::CaptionFontHeight, 14),
        K<LB>("captionfontstyle", &LB::CaptionFontStyle),
        K<LB>("captionfontcolor", &LB::CaptionFontColor),
    };
    static const std::vector<TbsSkinKey<LB>> buttons = {
        K<LB>("checkbuttonrect", &LB::CheckButtonRect),
        K<LB>("activecheckbuttonrect", &LB::ActiveCheckButtonRect),
        K<LB>("downcheckbuttonrect", &LB::DownCheckButtonRect),
        S<LB>("vscrollbarname", &LB::VScrollBarName, "vscrollbar"),
        S<LB>("hscrollbarname", &LB::HScrollBarName, "hscrollbar"),
        S<LB>("bothhscrollbarname", &LB::BothScrollBarName, "bothhscrollbar"),
        K<LB>("showfocus", &LB::ShowFocus),
        K<LB>("disabledbuttonsrect", &LB::DisabledButtonsRect),
        K<LB>("buttonsarea", &LB::ButtonsArea),
    };
    static const auto t = Join<LB>({items, FontGroup<LB>(), caption, ArrowGroup<LB>(), buttons});
    return t;
}

using CL = TbsDataSkinCheckListBox;
const std::vector<TbsSkinKey<CL>>& CheckListBoxKeys() {
    static const std::vector<TbsSkinKey<CL>> t = {
        K<CL>("itemcheckrect", &CL::ItemCheckRect),
        K<CL>("checkimagerect", &CL::CheckImageRect),
        K<CL>("uncheckimagerect", &CL::UnCheckImageRect),
    };
    return t;
}

using Co = TbsDataSkinComboBox;
const std::vector<TbsSkinKey<Co>>& ComboBoxKeys() {
    static const auto t = Join<Co>({
        {K<Co>("activeskinrect", &Co::ActiveSkinRect), K<Co>("itemrect", &Co::SItemRect),
         K<Co>("activeitemrect",                                                   &Co::ActiveItemRect), K<Co>("focusitemrect", &Co::FocusItemRect),
         K<Co>("itemleftoffset",    &Co::ItemLeftOffset),    K<Co>("itemrightoffset", &Co::ItemRightOffset),
         K<Co>("itemtextrect",                                                            &Co::ItemTextRect)},
        FontGroup<Co>(),
        { K<Co>("focusfontcolor", &Co::FocusFontColor), K<Co>("activefontcolor", &Co::ActiveFontColor),
         S<Co>("listboxname", &Co::ListBoxName), K<Co>("buttonrect",                                                                                           &Co::ButtonRect),
         K<Co>("activebuttonrect", &Co::ActiveButtonRect), K<Co>("downbuttonrect",                                              &Co::DownButtonRect),
         K<Co>("unenabledbuttonrect", &Co::UnEnabledButtonRect),
         K<Co>("itemstretcheffect", &Co::ItemStretchEffect),
         K<Co>("focusitemstretcheffect", &Co::FocusItemStretchEffect), K<Co>("showfocus", &Co::ShowFocus)},
    });
    return t;
}

using SB = TbsDataSkinScrollBarControl;
const std::vector<TbsSkinKey<SB>>& ScrollBarKeys() {
    static const auto t = Join<SB>({
        {K<SB>("trackarea",             &SB::TrackArea)            },
        ArrowGroup<SB>(),
        { K<SB>("thumbrect", &SB::ThumbRect), K<SB>("activethumbrect", &SB::ActiveThumbRect),
         K<SB>("downthumbrect", &SB::DownThumbRect), K<SB>("thumboffset1", &SB::ThumbOffset1),
         K<SB>("thumboffset2", &SB::ThumbOffset2), K<SB>("thumbtransparent", &SB::ThumbTransparent),
         K<SB>("thumbtransparentcolor", &SB::ThumbTransparentColor),
         K<SB>("thumbstretcheffect", &SB::ThumbStretchEffect), K<SB>("thumbminsize", &SB::ThumbMinSize),
         K<SB>("thumbminpagesize", &SB::ThumbMinPageSize), K<SB>("glyphrect", &SB::GlyphRect),
         K<SB>("activeglyphrect", &SB::ActiveGlyphRect), K<SB>("downglyphrect", &SB::DownGlyphRect),
         K<SB>("glyphtransparent", &SB::GlyphTransparent),
         K<SB>("glyphtransparentcolor", &SB::GlyphTransparentColor)},
    });
    return t;
}

using SX = TbsDataSkinScrollBoxControl;
const std::vector<TbsSkinKey<SX>>& ScrollBoxKeys() {
    static const std::vector<TbsSkinKey<SX>> t = {
        K<SX>("bgpictureindex", &SX::BGPictureIndex, -1),
    };
    return t;
}

// Tree view, list view and rich edit share their keys.
template <class C> const std::vector<TbsSkinKey<C>>& FontAndBGKeys() {
    static const auto t = Join<C>({FontGroup<C>(), {K<C>("bgcolor", &C::BGColor)}});
    return t;
}

using Bv = TbsDataSkinBevel;
const std::vector<TbsSkinKey<Bv>>& BevelKeys() {
    static const std::vector<TbsSkinKey<Bv>> t = {
        K<Bv>("lightcolor", &Bv::LightColor),
        K<Bv>("darkcolor", &Bv::DarkColor),
    };
    return t;
}

using Sl = TbsDataSkinSlider;
const std::vector<TbsSkinKey<Sl>>& SliderKeys() {
    static const std::vector<TbsSkinKey<Sl>> t = {
        K<Sl>("bgcolor", &Sl::BGColor),         K<Sl>("hrulerrect", &Sl::HRulerRect),
        K<Sl>("hthumbrect", &Sl::HThumbRect),   K<Sl>("vrulerrect", &Sl::VRulerRect),
        K<Sl>("vthumbrect", &Sl::VThumbRect),   K<Sl>("edgesize", &Sl::EdgeSize),
        K<Sl>("pointscolor", &Sl::PointsColor),
    };
    return t;
}

} // namespace

void TbsDataSkinControl::LoadFromFile(gui::TCustomIniFile& IniFile) {
    ReadSkinKeys(IniFile, IDName, *this, ControlKeys());
}

void TbsDataSkinControl::SaveToFile(gui::TCustomIniFile& IniFile) {
    IniFile.EraseSection(IDName);
    WriteSkinKeys(IniFile, IDName, *this, ControlKeys());
}

TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinCustomControl, TbsDataSkinControl, CustomKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinPanelControl, TbsDataSkinCustomControl, PanelKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinExPanelControl, TbsDataSkinCustomControl, ExPanelKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinButtonControl, TbsDataSkinCustomControl, ButtonKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinMenuButtonControl, TbsDataSkinButtonControl, MenuButtonKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinCheckRadioControl, TbsDataSkinCustomControl, CheckRadioKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinGaugeControl, TbsDataSkinCustomControl, GaugeKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinSplitterControl, TbsDataSkinCustomControl, SplitterKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinTrackBarControl, TbsDataSkinCustomControl, TrackBarKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinLabelControl, TbsDataSkinCustomControl, LabelKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinStdLabelControl, TbsDataSkinControl, StdLabelKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinGridControl, TbsDataSkinControl, GridKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinTabControl, TbsDataSkinControl, TabKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinMainMenuBar, TbsDataSkinControl, MainMenuBarKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinControlBar, TbsDataSkinCustomControl, ControlBarKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinEditControl, TbsDataSkinCustomControl, EditKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinMemoControl, TbsDataSkinEditControl, MemoKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinSpinEditControl, TbsDataSkinCustomControl, SpinEditKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinListBox, TbsDataSkinCustomControl, ListBoxKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinCheckListBox, TbsDataSkinListBox, CheckListBoxKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinComboBox, TbsDataSkinCustomControl, ComboBoxKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinScrollBarControl, TbsDataSkinCustomControl, ScrollBarKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinScrollBoxControl, TbsDataSkinCustomControl, ScrollBoxKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinTreeView, TbsDataSkinControl, FontAndBGKeys<TbsDataSkinTreeView>)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinListView, TbsDataSkinControl, FontAndBGKeys<TbsDataSkinListView>)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinRichEdit, TbsDataSkinControl, FontAndBGKeys<TbsDataSkinRichEdit>)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinBevel, TbsDataSkinControl, BevelKeys)
TBS_DESCRIPTOR_IO_IMPL(TbsDataSkinSlider, TbsDataSkinControl, SliderKeys)

// An up/down descriptor has no nine-part geometry, whatever its section says.
void TbsDataSkinUpDownControl::LoadFromFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinCustomControl::LoadFromFile(IniFile);
    ReadSkinKeys(IniFile, IDName, *this, UpDownKeys());
    LTPoint = RTPoint = LBPoint = RBPoint = TPoint{};
    ClRect = TRect{};
}

void TbsDataSkinUpDownControl::SaveToFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinCustomControl::SaveToFile(IniFile);
    for (const char* key : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"})
        WritePoint(IniFile, IDName, key, {});
    WriteRect(IniFile, IDName, "clientrect", {});
    WriteSkinKeys(IniFile, IDName, *this, UpDownKeys());
}

namespace {

using Types = TbsSkinTypes<TbsDataSkinControl>;

// Subclasses stand before their bases.
const Types& ControlTypes() {
    static const Types t({
        Types::Type<TbsDataSkinPanelControl>("panel"),
        Types::Type<TbsDataSkinExPanelControl>("expanel"),
        Types::Type<TbsDataSkinMenuButtonControl>("menubutton"),
        Types::Type<TbsDataSkinButtonControl>("button"),
        Types::Type<TbsDataSkinCheckRadioControl>("checkradio"),
        Types::Type<TbsDataSkinGaugeControl>("gauge"),
        Types::Type<TbsDataSkinSplitterControl>("splitter"),
        Types::Type<TbsDataSkinTrackBarControl>("trackbar"),
        Types::Type<TbsDataSkinLabelControl>("label"),
        Types::Type<TbsDataSkinStdLabelControl>("stdlabel"),
        Types::Type<TbsDataSkinUpDownControl>("updown"),
        Types::Type<TbsDataSkinGridControl>("grid"),
        Types::Type<TbsDataSkinTabControl>("tab"),
        Types::Type<TbsDataSkinMainMenuBar>("mainmenubar"),
        Types::Type<TbsDataSkinControlBar>("controlbar"),
        Types::Type<TbsDataSkinMemoControl>("memo"),
        Types::Type<TbsDataSkinEditControl>("edit"),
        Types::Type<TbsDataSkinCheckListBox>("checklistbox"),
        Types::Type<TbsDataSkinListBox>("listbox"),
        Types::Type<TbsDataSkinComboBox>("combobox"),
        Types::Type<TbsDataSkinScrollBarControl>("scrollbar"),
        Types::Type<TbsDataSkinSpinEditControl>("spinedit"),
        Types::Type<TbsDataSkinScrollBoxControl>("scrollbox"),
        Types::Type<TbsDataSkinTreeView>("treeview"),
        Types::Type<TbsDataSkinBevel>("bevel"),
        Types::Type<TbsDataSkinSlider>("slider"),
        Types::Type<TbsDataSkinListView>("listview"),
        Types::Type<TbsDataSkinRichEdit>("richedit"),
    });
    return t;
}

} // namespace

std::unique_ptr<TbsDataSkinControl> CreateDataSkinControl(const std::string& keyword,
                                                          const std::string& AIDName) {
    return ControlTypes().Create(keyword, AIDName);
}

std::string DataSkinControlKeyword(const TbsDataSkinControl& d) {
    return ControlTypes().Keyword(d);
}

} // namespace skin

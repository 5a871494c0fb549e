#include "skin/core/DataSkinObjects.h"

#include "skin/core/SkinKeys.h"

namespace skin {

using keys::Join;
using keys::K;
using keys::S;

namespace {

using Ob = TbsDataSkinObject;
const std::vector<TbsSkinKey<Ob>>& ObjectKeys() {
    static const std::vector<TbsSkinKey<Ob>> t = {
        S<Ob>("hint", &Ob::Hint),
        K<Ob>("activepictureindex", &Ob::ActivePictureIndex, -1),
        K<Ob>("activemaskpictureindex", &Ob::ActiveMaskPictureIndex, -1),
        K<Ob>("skinrectinapicture", &Ob::SkinRectInAPicture),
        K<Ob>("skinrect", &Ob::SkinRect),
        K<Ob>("activeskinrect", &Ob::ActiveSkinRect),
        K<Ob>("inactiveskinrect", &Ob::InActiveSkinRect),
        K<Ob>("morphing", &Ob::Morphing),
        K<Ob>("morphkind", &Ob::MorphKind),
        K<Ob>("glowlayerpictureindex", &Ob::GlowLayerPictureIndex, -1),
        K<Ob>("glowlayermaskpictureindex", &Ob::GlowLayerMaskPictureIndex, -1),
        K<Ob>("glowlayeroffsetx", &Ob::GlowLayerOffsetX),
        K<Ob>("glowlayeroffsety", &Ob::GlowLayerOffsetY),
        K<Ob>("glowlayeralphablendvalue", &Ob::GlowLayerAlphaBlendValue, 255),
    };
    return t;
}

using UO = TbsDataUserObject;
const std::vector<TbsSkinKey<UO>>& UserObjectKeys() {
    static const std::vector<TbsSkinKey<UO>> t = {K<UO>("skinrect", &UO::SkinRect)};
    return t;
}

using Bn = TbsDataSkinButton;
const std::vector<TbsSkinKey<Bn>>& ButtonKeys() {
    // "disableskinrsect" is the key as skins spell it.
    static const std::vector<TbsSkinKey<Bn>> t = {K<Bn>("downrect", &Bn::DownRect),
                                                  K<Bn>("disableskinrsect", &Bn::DisableSkinRect)};
    return t;
}

using SB = TbsDataSkinStdButton;
const std::vector<TbsSkinKey<SB>>& StdButtonKeys() {
    static const std::vector<TbsSkinKey<SB>> t = {
        K<SB>("command", &SB::Command),
        K<SB>("restorerect", &SB::RestoreRect),
        K<SB>("restoreactiverect", &SB::RestoreActiveRect),
        K<SB>("restoredownrect", &SB::RestoreDownRect),
        K<SB>("restoreinactiverect", &SB::RestoreInActiveRect),
        S<SB>("restorehint", &SB::RestoreHint),
    };
    return t;
}

using An = TbsDataSkinAnimate;
const std::vector<TbsSkinKey<An>>& AnimateKeys() {
    static const std::vector<TbsSkinKey<An>> t = {
        K<An>("countframes", &An::CountFrames, 1),
        K<An>("cycle", &An::Cycle),
        K<An>("buttonstyle", &An::ButtonStyle),
        K<An>("timerinterval", &An::TimerInterval, 50),
        K<An>("command", &An::Command),
        K<An>("downskinrect", &An::DownSkinRect),
        K<An>("restorerect", &An::RestoreRect),
        K<An>("restoreactiverect", &An::RestoreActiveRect),
        K<An>("restoredownrect", &An::RestoreDownRect),
        K<An>("restoreinactiverect", &An::RestoreInActiveRect),
        S<An>("restorehint", &An::RestoreHint),
    };
    return t;
}

using MI = TbsDataSkinMenuItem;
const std::vector<TbsSkinKey<MI>>& MenuItemKeys() {
    static const std::vector<TbsSkinKey<MI>> t = {
        K<MI>("itemleftoffset", &MI::ItemLO),
        K<MI>("itemrightoffset", &MI::ItemRO),
        K<MI>("dividerrect", &MI::DividerRect),
        K<MI>("dividerleftoffset", &MI::DividerLO),
        K<MI>("dividerrightoffset", &MI::DividerRO),
        K<MI>("textrect", &MI::TextRct),
        K<MI>("imagerect", &MI::ImageRct),
        S<MI>("fontname", &MI::FontName, "Arial"),
        K<MI>("fontheight", &MI::FontHeight, 14),
        K<MI>("fontstyle", &MI::FontStyle),
        K<MI>("fontcolor", &MI::FontColor),
        K<MI>("activefontcolor", &MI::ActiveFontColor),
        K<MI>("unenabledfontcolor", &MI::UnEnabledFontColor),
        K<MI>("stretcheffect", &MI::StretchEffect),
        K<MI>("inactivestretcheffect", &MI::InActiveStretchEffect),
        K<MI>("dividerstretcheffect", &MI::DividerStretchEffect),
        K<MI>("animateskinrect", &MI::AnimateSkinRect),
        K<MI>("framecount", &MI::FrameCount),
        K<MI>("animateinterval", &MI::AnimateInterval, 25),
        K<MI>("inactiveanimation", &MI::InActiveAnimation),
        K<MI>("useimagecolor", &MI::UseImageColor),
        K<MI>("imagecolor", &MI::ImageColor),
        K<MI>("activeimagecolor", &MI::ActiveImageColor),
        K<MI>("inactivetransparent", &MI::InActiveTransparent),
        K<MI>("checkimagerect", &MI::CheckImageRect),
        K<MI>("activecheckimagerect", &MI::ActiveCheckImageRect),
        K<MI>("radioimagerect", &MI::RadioImageRect),
        K<MI>("activeradioimagerect", &MI::ActiveRadioImageRect),
        K<MI>("arrowimagerect", &MI::ArrowImageRect),
        K<MI>("activearrowimagerect", &MI::ActiveArrowImageRect),
    };
    return t;
}

using MM = TbsDataSkinMainMenuItem;
const std::vector<TbsSkinKey<MM>>& MainMenuItemKeys() {
    static const std::vector<TbsSkinKey<MM>> t = {
        K<MM>("itemleftoffset", &MM::ItemLO),
        K<MM>("itemrightoffset", &MM::ItemRO),
        K<MM>("downrect", &MM::DownRect),
        K<MM>("textrect", &MM::TextRct),
        S<MM>("fontname", &MM::FontName, "Arial"),
        K<MM>("fontheight", &MM::FontHeight, 14),
        K<MM>("fontstyle", &MM::FontStyle),
        K<MM>("fontcolor", &MM::FontColor),
        K<MM>("activefontcolor", &MM::ActiveFontColor),
        K<MM>("downfontcolor", &MM::DownFontColor),
        K<MM>("unenabledfontColor", &MM::UnEnabledFontColor),
        K<MM>("stretcheffect", &MM::StretchEffect),
        K<MM>("animateskinrect", &MM::AnimateSkinRect),
        K<MM>("framecount", &MM::FrameCount),
        K<MM>("animateinterval", &MM::AnimateInterval, 25),
        K<MM>("inactiveanimation", &MM::InActiveAnimation),
    };
    return t;
}

using Ca = TbsDataSkinCaption;
const std::vector<TbsSkinKey<Ca>>& CaptionKeys() {
    static const std::vector<TbsSkinKey<Ca>> t = {
        K<Ca>("textrect", &Ca::TextRct),
        S<Ca>("fontname", &Ca::FontName, "Arial"),
        K<Ca>("fontheight", &Ca::FontHeight, 14),
        K<Ca>("fontstyle", &Ca::FontStyle),
        K<Ca>("fontcolor", &Ca::FontColor),
        K<Ca>("activefontcolor", &Ca::ActiveFontColor),
        K<Ca>("alignment", &Ca::Alignment),
        K<Ca>("light", &Ca::Light),
        K<Ca>("lightcolor", &Ca::LightColor),
        K<Ca>("activelightcolor", &Ca::ActiveLightColor),
        K<Ca>("shadow", &Ca::Shadow),
        K<Ca>("shadowcolor", &Ca::ShadowColor),
        K<Ca>("activeshadowcolor", &Ca::ActiveShadowColor),
        K<Ca>("framerect", &Ca::FrameRect),
        K<Ca>("activeframerect", &Ca::ActiveFrameRect),
        K<Ca>("frametextrect", &Ca::FrameTextRect),
        K<Ca>("frameleftoffset", &Ca::FrameLeftOffset),
        K<Ca>("framerightoffset", &Ca::FrameRightOffset),
        K<Ca>("stretcheffect", &Ca::StretchEffect),
        K<Ca>("animateskinrect", &Ca::AnimateSkinRect),
        K<Ca>("framecount", &Ca::FrameCount),
        K<Ca>("animateinterval", &Ca::AnimateInterval, 25),
        K<Ca>("inactiveanimation", &Ca::InActiveAnimation),
        K<Ca>("fullframe", &Ca::FullFrame),
        K<Ca>("vistagloweffect", &Ca::VistaGlowEffect),
        K<Ca>("vistaglowinactiveeffect", &Ca::VistaGlowInActiveEffect),
        K<Ca>("gloweffect", &Ca::GlowEffect),
        K<Ca>("glowinactiveeffect", &Ca::GlowInActiveEffect),
        K<Ca>("glowsize", &Ca::GlowSize, 3),
        K<Ca>("glowcolor", &Ca::GlowColor),
        K<Ca>("glowactivecolor", &Ca::GlowActiveColor),
        K<Ca>("glowoffset", &Ca::GlowOffset),
        K<Ca>("reflectioneffect", &Ca::ReflectionEffect),
        // "reflaction" is how skins spell these two keys.
        K<Ca>("reflactioncolor", &Ca::ReflectionColor),
        K<Ca>("reflactionactivecolor", &Ca::ReflectionActiveColor),
        K<Ca>("reflectionoffset", &Ca::ReflectionOffset),
    };
    return t;
}

const char* const kColorsSection = "SKINCOLORS";
const char* const kPopupWindowSection = "POPUPWINDOW";
const char* const kLayerFrameSection = "LAYERFRAME";
const char* const kHintWindowSection = "HINTWINDOW";

// 0xFF000000 plus the system colour index.
constexpr TColor SysColor(int index) {
    return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index));
}

using SC = TbsSkinColors;
const std::vector<TbsSkinKey<SC>>& ColorKeys() {
    static const std::vector<TbsSkinKey<SC>> t = {
        K<SC>("cbtnface", &SC::FcBtnFace, SysColor(15)),
        K<SC>("cbtntext", &SC::FcBtnText, SysColor(18)),
        K<SC>("cwindow", &SC::FcWindow, SysColor(5)),
        K<SC>("cwindowtext", &SC::FcWindowText, SysColor(8)),
        K<SC>("chighlight", &SC::FcHighLight, SysColor(13)),
        K<SC>("chighlighttext", &SC::FcHighLightText, SysColor(14)),
        K<SC>("cbtnhighlight", &SC::FcBtnHighLight, SysColor(20)),
        K<SC>("cbtnshadow", &SC::FcBtnShadow, SysColor(16)),
    };
    return t;
}

using PW = TbsDataSkinPopupWindow;
const std::vector<TbsSkinKey<PW>>& PopupWindowKeys() {
    static const std::vector<TbsSkinKey<PW>> t = {
        K<PW>("windowpictureindex", &PW::WindowPictureIndex, -1),
        K<PW>("maskpictureindex", &PW::MaskPictureIndex, -1),
        K<PW>("lefttoppoint", &PW::LTPoint),
        K<PW>("righttoppoint", &PW::RTPoint),
        K<PW>("leftbottompoint", &PW::LBPoint),
        K<PW>("rightbottompoint", &PW::RBPoint),
        K<PW>("itemsrect", &PW::ItemsRect),
        K<PW>("scrollmarkercolor", &PW::ScrollMarkerColor),
        K<PW>("scrollmarkeractivecolor", &PW::ScrollMarkerActiveColor),
        K<PW>("leftstretch", &PW::LeftStretch),
        K<PW>("rightstretch", &PW::RightStretch),
        K<PW>("topstretch", &PW::TopStretch),
        K<PW>("bottomstretch", &PW::BottomStretch),
        K<PW>("stretcheffect", &PW::StretchEffect),
        K<PW>("stretchtype", &PW::StretchType),
    };
    return t;
}

using LF = TbsDataSkinLayerFrame;
const std::vector<TbsSkinKey<LF>>& LayerFrameKeys() {
    static const std::vector<TbsSkinKey<LF>> t = {
        K<LF>("pictureindex", &LF::PictureIndex, -1),
        K<LF>("maskpictureindex", &LF::MaskPictureIndex, -1),
        K<LF>("inactivepictureindex", &LF::InActivePictureIndex, -1),
        K<LF>("inactivemaskpictureindex", &LF::InActiveMaskPictureIndex, -1),
        K<LF>("lefttoppoint", &LF::LTPoint),
        K<LF>("righttoppoint", &LF::RTPoint),
        K<LF>("leftbottompoint", &LF::LBPoint),
        K<LF>("rightbottompoint", &LF::RBPoint),
        K<LF>("clientrect", &LF::ClRect),
        K<LF>("alphablendvalue", &LF::AlphaBlendValue, 255),
        K<LF>("inactivealphablendvalue", &LF::InActiveAlphaBlendValue, 255),
        K<LF>("borderrect", &LF::BorderRect),
        K<LF>("hittestenable", &LF::HitTestEnable),
    };
    return t;
}

using HW = TbsDataSkinHintWindow;
const std::vector<TbsSkinKey<HW>>& HintWindowKeys() {
    static const std::vector<TbsSkinKey<HW>> t = {
        K<HW>("windowpictureindex", &HW::WindowPictureIndex, -1),
        K<HW>("maskpictureindex", &HW::MaskPictureIndex, -1),
        K<HW>("lefttoppoint", &HW::LTPoint),
        K<HW>("righttoppoint", &HW::RTPoint),
        K<HW>("leftbottompoint", &HW::LBPoint),
        K<HW>("rightbottompoint", &HW::RBPoint),
        K<HW>("clientrect", &HW::ClRect),
        S<HW>("fontname", &HW::FontName, "Arial"),
        K<HW>("fontheight", &HW::FontHeight, 14),
        K<HW>("fontstyle", &HW::FontStyle),
        K<HW>("fontcolor", &HW::FontColor),
        K<HW>("leftstretch", &HW::LeftStretch),
        K<HW>("rightstretch", &HW::RightStretch),
        K<HW>("topstretch", &HW::TopStretch),
        K<HW>("bottomstretch", &HW::BottomStretch),
        K<HW>("stretcheffect", &HW::StretchEffect),
        K<HW>("stretchtype", &HW::StretchType),
    };
    return t;
}

// A maximise, minimise or roll-up button doubles as the restore button; skins that leave its
// restore hint out get the usual word.
void DefaultRestoreHint(const std::string& hint, TbsStdCommand command, std::string& restoreHint) {
    if (!restoreHint.empty()) return;
    if ((hint == "Maximize" && command == TbsStdCommand::cmMaximize) ||
        (hint == "Minimize" && command == TbsStdCommand::cmMinimize) ||
        ((hint == "RollUp" || hint == "Roll Up") && command == TbsStdCommand::cmRollUp))
        restoreHint = "Restore";
}

bool EmptyRect(const TRect& r) {
    return r.Width() <= 0 || r.Height() <= 0;
}

} // namespace

void TbsDataSkinObject::LoadFromFile(gui::TCustomIniFile& IniFile) {
    ReadSkinKeys(IniFile, IDName, *this, ObjectKeys());
}

void TbsDataSkinObject::SaveToFile(gui::TCustomIniFile& IniFile) {
    IniFile.EraseSection(IDName);
    WriteSkinKeys(IniFile, IDName, *this, ObjectKeys());
}

void TbsDataUserObject::LoadFromFile(gui::TCustomIniFile& IniFile) {
    ReadSkinKeys(IniFile, IDName, *this, UserObjectKeys());
}

void TbsDataUserObject::SaveToFile(gui::TCustomIniFile& IniFile) {
    IniFile.EraseSection(IDName);
    WriteSkinKeys(IniFile, IDName, *this, UserObjectKeys());
}

void TbsDataSkinButton::LoadFromFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::LoadFromFile(IniFile);
    ReadSkinKeys(IniFile, IDName, *this, ButtonKeys());
}

void TbsDataSkinButton::SaveToFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::SaveToFile(IniFile);
    WriteSkinKeys(IniFile, IDName, *this, ButtonKeys());
}

void TbsDataSkinStdButton::LoadFromFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinButton::LoadFromFile(IniFile);
    ReadSkinKeys(IniFile, IDName, *this, StdButtonKeys());
    DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinStdButton::SaveToFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinButton::SaveToFile(IniFile);
    WriteSkinKeys(IniFile, IDName, *this, StdButtonKeys());
}

void TbsDataSkinAnimate::LoadFromFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::LoadFromFile(IniFile);
    Morphing = false; // animations never morph
    ReadSkinKeys(IniFile, IDName, *this, AnimateKeys());
    DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinAnimate::SaveToFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::SaveToFile(IniFile);
    WriteSkinKeys(IniFile, IDName, *this, AnimateKeys());
}

void TbsDataSkinMenuItem::LoadFromFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::LoadFromFile(IniFile);
    ReadSkinKeys(IniFile, IDName, *this, MenuItemKeys());
    // A skin that draws no separate hot image uses the normal one.
    if (EmptyRect(ActiveCheckImageRect)) ActiveCheckImageRect = CheckImageRect;
    if (EmptyRect(ActiveRadioImageRect)) ActiveRadioImageRect = RadioImageRect;
    if (EmptyRect(ActiveArrowImageRect)) ActiveArrowImageRect = ArrowImageRect;
}

void TbsDataSkinMenuItem::SaveToFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::SaveToFile(IniFile);
    WriteSkinKeys(IniFile, IDName, *this, MenuItemKeys());
}

void TbsDataSkinMainMenuItem::LoadFromFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::LoadFromFile(IniFile);
    ReadSkinKeys(IniFile, IDName, *this, MainMenuItemKeys());
}

void TbsDataSkinMainMenuItem::SaveToFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::SaveToFile(IniFile);
    WriteSkinKeys(IniFile, IDName, *this, MainMenuItemKeys());
}

void TbsDataSkinCaption::LoadFromFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::LoadFromFile(IniFile);
    ReadSkinKeys(IniFile, IDName, *this, CaptionKeys());
}

void TbsDataSkinCaption::SaveToFile(gui::TCustomIniFile& IniFile) {
    TbsDataSkinObject::SaveToFile(IniFile);
    WriteSkinKeys(IniFile, IDName, *this, CaptionKeys());
}

void TbsSkinColors::SetColorsToDefault() {
    for (auto& k : ColorKeys()) this->*std::get<int32_t SC::*>(k.field) = k.def;
}

void TbsSkinColors::LoadFromFile(gui::TCustomIniFile& IniFile) {
    ReadSkinKeys(IniFile, kColorsSection, *this, ColorKeys());
}

void TbsSkinColors::SaveToFile(gui::TCustomIniFile& IniFile) {
    WriteSkinKeys(IniFile, kColorsSection, *this, ColorKeys());
}

void TbsDataSkinPopupWindow::LoadFromFile(gui::TCustomIniFile& IniFile) {
    ReadSkinKeys(IniFile, kPopupWindowSection, *this, PopupWindowKeys());
}

void TbsDataSkinPopupWindow::SaveToFile(gui::TCustomIniFile& IniFile) {
    IniFile.EraseSection(kPopupWindowSection);
    WriteSkinKeys(IniFile, kPopupWindowSection, *this, PopupWindowKeys());
}

void TbsDataSkinLayerFrame::LoadFromFile(gui::TCustomIniFile& IniFile) {
    ReadSkinKeys(IniFile, kLayerFrameSection, *this, LayerFrameKeys());
}

void TbsDataSkinLayerFrame::SaveToFile(gui::TCustomIniFile& IniFile) {
    IniFile.EraseSection(kLayerFrameSection);
    WriteSkinKeys(IniFile, kLayerFrameSection, *this, LayerFrameKeys());
}

void TbsDataSkinHintWindow::LoadFromFile(gui::TCustomIniFile& IniFile) {
    ReadSkinKeys(IniFile, kHintWindowSection, *this, HintWindowKeys());
}

void TbsDataSkinHintWindow::SaveToFile(gui::TCustomIniFile& IniFile) {
    IniFile.EraseSection(kHintWindowSection);
    WriteSkinKeys(IniFile, kHintWindowSection, *this, HintWindowKeys());
}

namespace {

using Types = TbsSkinTypes<TbsDataSkinObject>;

// Subclasses stand before their bases.
const Types& ObjectTypes() {
    static const Types t({
        Types::Type<TbsDataSkinMenuItem>("menuitem"),
        Types::Type<TbsDataSkinMainMenuBarItem>("mainmenubaritem"),
        Types::Type<TbsDataSkinMainMenuBarButton>("mainmenubarbutton"),
        Types::Type<TbsDataSkinStdButton>("stdbutton"),
        Types::Type<TbsDataSkinButton>("button"),
        Types::Type<TbsDataSkinCaption>("caption"),
        Types::Type<TbsDataSkinAnimate>("animate"),
        Types::Type<TbsDataUserObject>("userobject"),
    });
    return t;
}

} // namespace

std::unique_ptr<TbsDataSkinObject> CreateDataSkinObject(const std::string& keyword,
                                                        const std::string& AIDName) {
    return ObjectTypes().Create(keyword, AIDName);
}

std::string DataSkinObjectKeyword(const TbsDataSkinObject& d) {
    return ObjectTypes().Keyword(d);
}

} // namespace skin

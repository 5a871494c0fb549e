#include "skin/core/SkinData.h"

#include "os/Convert.h"
#include "os/Paths.h"
#include "skin/core/CompressedSkin.h"
#include "skin/core/ResourceStrData.h"
#include "skin/core/SkinForms.h"
#include "skin/core/SkinIniFile.h"
#include "skin/core/SkinKeys.h"

#include <algorithm>

namespace skin {

using keys::K;

namespace {

const char* const kVersion = "VERSION";
const char* const kPictures = "PICTURES";
const char* const kFormInfo = "FORMINFO";
const char* const kSkinObjects = "SKINOBJECTS";
const char* const kSkinControls = "SKINCONTROLS";

using SD = TbsSkinData;
const std::vector<TbsSkinKey<SD>>& FormInfoKeys() {
    static const std::vector<TbsSkinKey<SD>> t = {
        K<SD>("lefttoppoint", &SD::LTPoint),
        K<SD>("righttoppoint", &SD::RTPoint),
        K<SD>("leftbottompoint", &SD::LBPoint),
        K<SD>("rightbottompoint", &SD::RBPoint),
        K<SD>("clientrect", &SD::ClRect),
        K<SD>("bgpictureindex", &SD::BGPictureIndex, -1),
        K<SD>("mdibgpictureindex", &SD::MDIBGPictureIndex, -1),
        K<SD>("leftstretch", &SD::LeftStretch),
        K<SD>("rightstretch", &SD::RightStretch),
        K<SD>("topstretch", &SD::TopStretch),
        K<SD>("bottomstretch", &SD::BottomStretch),
        K<SD>("stretcheffect", &SD::StretchEffect),
        K<SD>("stretchtype", &SD::StretchType),
        K<SD>("mdibgstretcheffect", &SD::MDIBGStretchEffect),
        K<SD>("mdibgstretchtype", &SD::MDIBGStretchType),
        K<SD>("maskrectarea", &SD::MaskRectArea),
        K<SD>("hittestlefttoppoint", &SD::HitTestLTPoint),
        K<SD>("hittestrighttoppoint", &SD::HitTestRTPoint),
        K<SD>("hittestleftbottompoint", &SD::HitTestLBPoint),
        K<SD>("hittestrightbottompoint", &SD::HitTestRBPoint),
        K<SD>("buttonsrect", &SD::ButtonsRect),
        K<SD>("captionrect", &SD::CaptionRect),
        K<SD>("buttonsoffset", &SD::ButtonsOffset),
        K<SD>("buttonsinleft", &SD::CapButtonsInLeft),
        K<SD>("mainmenupopupup", &SD::MainMenuPopupUp),
        K<SD>("borderwidth", &SD::BorderW),
        K<SD>("autorenderinginactiveimage", &SD::AutoRenderingInActiveImage),
        K<SD>("inactiveeffect", &SD::InActiveEffect),
        K<SD>("formminwidth", &SD::FormMinWidth),
        K<SD>("mditabstransparent", &SD::MDITabsTransparent),
        K<SD>("mainmenubartransparent", &SD::MainMenuBarTransparent),
    };
    return t;
}

// "count" and the entries "IDName:type"; an entry of no known type adds nothing.
template <class D, class Create>
void ReadList(gui::TCustomIniFile& ini, const char* section, std::vector<std::unique_ptr<D>>& list,
              Create create) {
    int count = ReadListCount(ini, section, "count");
    for (int i = 0; i < count; ++i) {
        std::string name, type;
        SplitListEntry(ini.ReadString(section, std::to_string(i), ""), name, type);
        if (auto d = create(type, name)) {
            d->LoadFromFile(ini);
            list.push_back(std::move(d));
        }
    }
}

template <class D, class Keyword>
void WriteList(gui::TCustomIniFile& ini, const char* section, const std::vector<std::unique_ptr<D>>& list,
               Keyword keyword) {
    ini.EraseSection(section);
    ini.WriteInteger(section, "count", static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i)
        ini.WriteString(section, std::to_string(i), list[i]->IDName + ":" + keyword(*list[i]));
    for (auto& d : list) d->SaveToFile(ini);
}

// A flag byte (nonzero: empty) and, when 0, a BMP.
void ReadFlaggedPicture(gui::TStream& s, TbsPicture& picture) {
    uint8_t empty;
    s.ReadBuffer(&empty, 1);
    picture.Clear();
    if (!empty) picture.LoadFromStream(s);
}

void LoadNamedPicture(const std::string& folder, const std::string& name, TbsPicture& picture) {
    picture.Clear();
    if (!name.empty()) picture.LoadFromFile(folder + name);
}

} // namespace

void SplitListEntry(const std::string& entry, std::string& idName, std::string& type) {
    auto colon = entry.find(':');
    if (colon == std::string::npos) {
        idName.clear();
        type.clear();
        return;
    }
    idName = entry.substr(0, colon);
    type = entry.substr(colon + 1);
}

TbsSkinData::TbsSkinData(os::TComponent* AOwner) : TComponent(AOwner) {
    skinColors_.SetColorsToDefault();
}

TbsSkinData::~TbsSkinData() {
    Empty = true;
    ClearObjects();
}

// --- lookups -------------------------------------------------------------------------------

int TbsSkinData::GetIndex(const std::string& AIDName) const {
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return static_cast<int>(i);
    return -1;
}

int TbsSkinData::GetControlIndex(const std::string& AIDName) const {
    for (size_t i = 0; i < CtrlList.size(); ++i)
        if (CtrlList[i]->IDName == AIDName) return static_cast<int>(i);
    return -1;
}

// --- setters -------------------------------------------------------------------------------

void TbsSkinData::Unlink(os::TComponent* old, os::TComponent* now) {
    if (old && old != now) old->RemoveFreeNotification(this);
    if (now) now->FreeNotification(this);
}

void TbsSkinData::SetSkinnableForm(bool value) {
    if (value == skinnableForm_) return;
    skinnableForm_ = value;
    if (!Designing() && !Loading()) SendSkinDataMessage(WM_CHANGEFORMSKINNABLE);
}

void TbsSkinData::SetShowLayeredBorders(bool value) {
    if (value == showLayeredBorders_) return;
    showLayeredBorders_ = value;
    if (!Designing() && !Loading()) SendSkinDataMessage(WM_SHOWLAYEREDBORDERS);
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* value) {
    Unlink(storedSkin_, value);
    storedSkin_ = value;
    if (!Designing() && value) LoadCompressedStoredSkin(value);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* value) {
    Unlink(resourceStrData_, value);
    resourceStrData_ = value;
    if (!Designing()) SendSkinDataMessage(WM_CHANGERESSTRDATA);
}

void TbsSkinData::SetSkinList(TbsCompressedSkinList* value) {
    Unlink(skinList_, value);
    skinList_ = value;
    if (Loading()) {
        listLoadPending_ = value != nullptr;
        return;
    }
    LoadListItem();
}

void TbsSkinData::SetSkinIndex(int value) {
    if (value == skinIndex_) return;
    if (!skinList_ || Loading()) {
        if (Loading() && !indexSetWhileLoading_) {
            indexSetWhileLoading_ = true;
            indexBeforeLoading_ = skinIndex_;
        }
        skinIndex_ = value;
        listLoadPending_ = skinList_ != nullptr;
        return;
    }
    if (value < 0 || value >= skinList_->Skins().Count()) return;
    skinIndex_ = value;
    if (!Designing()) LoadCompressedStoredSkin(&skinList_->Skins()[value].Skin());
}

void TbsSkinData::LoadListItem() {
    if (Designing() || !skinList_) return;
    if (skinIndex_ >= 0 && skinIndex_ < skinList_->Skins().Count())
        LoadCompressedStoredSkin(&skinList_->Skins()[skinIndex_].Skin());
}

void TbsSkinData::Loaded() {
    TComponent::Loaded();
    bool indexSet = indexSetWhileLoading_;
    indexSetWhileLoading_ = false;
    if (!listLoadPending_) return;
    listLoadPending_ = false;
    // The list takes effect first and loads its item at the index the component had; an index
    // from the form description that lies outside the list is then ignored, as it would be
    // set after the list.
    if (indexSet && skinList_ && (skinIndex_ < 0 || skinIndex_ >= skinList_->Skins().Count()))
        skinIndex_ = indexBeforeLoading_;
    LoadListItem();
}

void TbsSkinData::Notification(os::TComponent* AComponent, os::TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != os::TOperation::opRemove) return;
    if (AComponent == storedSkin_) storedSkin_ = nullptr;
    if (AComponent == resourceStrData_) resourceStrData_ = nullptr;
    if (AComponent == skinList_) {
        skinList_ = nullptr;
        listLoadPending_ = false;
    }
}

// --- broadcast -----------------------------------------------------------------------------

void TbsSkinData::SendSkinDataMessage(uint32_t M) {
    TbsSkinForms* forms = SkinForms();
    if (!forms) return;
    auto wParam = reinterpret_cast<uintptr_t>(this);
    TbsSkinMessageForm* ownerForm = nullptr;
    if (!showLayeredBorders_ && Owner()) ownerForm = forms->FormOf(Owner());
    if (ownerForm) ownerForm->SendSkinMessage(M, wParam, kSkinMessageLParam);
    // Collected first: a receiver may open or close forms while it re-skins.
    std::vector<TbsSkinMessageForm*> targets;
    for (int i = 0; i < forms->FormCount(); ++i) {
        TbsSkinMessageForm* f = forms->Forms(i);
        if (!f || f == ownerForm || f->FormClassName() == kFormLayerWindowClassName) continue;
        targets.push_back(f);
    }
    if (showLayeredBorders_ && LayerFrame.PictureIndex != -1) std::reverse(targets.begin(), targets.end());
    // A receiver may also free a form still waiting for its turn: each is looked up again
    // before it is called.
    auto stillOpen = [forms](TbsSkinMessageForm* f) {
        for (int i = 0; i < forms->FormCount(); ++i)
            if (forms->Forms(i) == f) return true;
        return false;
    };
    for (TbsSkinMessageForm* f : targets)
        if (stillOpen(f)) f->SendSkinMessage(M, wParam, kSkinMessageLParam);
}

bool TbsSkinData::ChangeSkin(const std::function<void()>& read) {
    lastError_.clear();
    Empty = true;
    ChangeSkinDataProcess = true;
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    ClearAll();
    // A skin that cannot be read to its end is not half-used: the forms get the empty skin
    // and still receive the closing messages.
    try {
        read();
        Empty = false;
    } catch (const std::exception& e) {
        ClearAll();
        lastError_ = e.what();
    }
    SendSkinDataMessage(WM_CHANGESKINDATA);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
    return lastError_.empty();
}

// --- loading -------------------------------------------------------------------------------

bool TbsSkinData::LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin) {
    if (!AStoredSkin || AStoredSkin->Empty()) {
        lastError_ = "The stored skin is empty";
        return false;
    }
    return ChangeSkin([&] {
        gui::TMemoryStream data;
        AStoredSkin->DeCompressToStream(data);
        ReadInnerSkin(data);
    });
}

void TbsSkinData::ReadInnerSkin(gui::TMemoryStream& data) {
    data.SetPosition(0);
    int32_t version = ReadSkinInt32(data);
    if (version > kStoredSkinVersion)
        throw std::runtime_error(os::FormatC("Skin data version %d is not supported", version));
    ReadFlaggedPicture(data, FPicture);
    ReadFlaggedPicture(data, FInActivePicture);
    ReadFlaggedPicture(data, FMask);
    if (version == 2) {
        TbsPicture dropped;
        ReadFlaggedPicture(data, dropped);
        ReadFlaggedPicture(data, dropped);
    }
    int32_t count = ReadSkinInt32(data);
    for (int32_t i = 0; i < count; ++i) {
        auto picture = std::make_unique<TbsPicture>();
        picture->LoadFromStream(data);
        FActivePictures.push_back(std::move(picture));
    }
    int64_t at = data.Position();
    TbsSkinIniFile ini;
    ini.SetText(std::string(reinterpret_cast<const char*>(data.Memory()) + at,
                            static_cast<size_t>(data.Size() - at)));
    ReadSkin(ini, nullptr);
}

bool TbsSkinData::LoadFromFile(const std::string& FileName) {
    TbsSkinIniFile ini(FileName);
    std::string error;
    if (!ini.LoadFile(error)) {
        lastError_ = error;
        return false;
    }
    if (!IsValidSkinIni(ini)) {
        lastError_ = "\"" + FileName + "\" is not a skin: it lacks a required section";
        return false;
    }
    std::string folder = os::ExtractFilePath(FileName);
    return ChangeSkin([&] { ReadSkin(ini, &folder); });
}

bool TbsSkinData::LoadFromCompressedFile(const std::string& FileName) {
    TbsCompressedStoredSkin stored;
    try {
        stored.LoadFromCompressFile(FileName);
    } catch (const std::exception& e) {
        lastError_ = e.what();
        return false;
    }
    if (stored.Empty()) {
        lastError_ = "\"" + FileName + "\" holds no skin of a version this program reads";
        return false;
    }
    return LoadCompressedStoredSkin(&stored);
}

void TbsSkinData::ReadSkin(gui::TCustomIniFile& ini, const std::string* folder) {
    SkinName = ini.ReadString(kVersion, "skinname", "");
    SkinAuthor = ini.ReadString(kVersion, "skinauthor", "");
    AuthorEmail = ini.ReadString(kVersion, "authoremail", "");
    AuthorURL = ini.ReadString(kVersion, "authorurl", "");
    SkinComments = ini.ReadString(kVersion, "skincomments", "");
    FPictureName = ini.ReadString(kPictures, "picture", "");
    FInActivePictureName = ini.ReadString(kPictures, "inactivepicture", "");
    FMaskName = ini.ReadString(kPictures, "mask", "");
    FActivePicturesNames.Clear();
    ReadStrings(ini, kPictures, "activepictures", FActivePicturesNames);
    if (folder) {
        LoadNamedPicture(*folder, FPictureName, FPicture);
        LoadNamedPicture(*folder, FInActivePictureName, FInActivePicture);
        LoadNamedPicture(*folder, FMaskName, FMask);
        LoadActivePictures(*folder);
    }
    ReadFormInfo(ini);
    PopupWindow.LoadFromFile(ini);
    LayerFrame.LoadFromFile(ini);
    HintWindow.LoadFromFile(ini);
    skinColors_.LoadFromFile(ini);
    ReadObjectList(ini);
    ReadControlList(ini);
}

void TbsSkinData::LoadActivePictures(const std::string& folder) {
    for (int i = 0; i < FActivePicturesNames.Count(); ++i) {
        auto picture = std::make_unique<TbsPicture>();
        picture->LoadFromFile(folder + FActivePicturesNames[i]);
        FActivePictures.push_back(std::move(picture));
    }
}

void TbsSkinData::ReadFormInfo(gui::TCustomIniFile& ini) {
    ReadSkinKeys(ini, kFormInfo, *this, FormInfoKeys());
    if (!FMaskName.empty()) {
        if (MaskRectArea.Width() <= 0 || MaskRectArea.Height() <= 0) {
            MaskRectArea = ClRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
        }
        auto fill = [](TPoint& hit, const TPoint& corner) {
            if (hit.X == 0 || hit.Y == 0) hit = corner;
        };
        fill(HitTestLTPoint, LTPoint);
        fill(HitTestRTPoint, RTPoint);
        fill(HitTestLBPoint, LBPoint);
        fill(HitTestRBPoint, RBPoint);
    }
    // The corners of the frame may not reach into the client area.
    if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
        LTPoint.X = std::max(LTPoint.X, ClRect.Left);
        LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
        RTPoint.X = std::min(RTPoint.X, ClRect.Right);
        RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
        LBPoint.X = std::max(LBPoint.X, ClRect.Left);
        LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
        RBPoint.X = std::min(RBPoint.X, ClRect.Right);
        RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
    }
}

void TbsSkinData::WriteFormInfo(gui::TCustomIniFile& ini) {
    ini.EraseSection(kFormInfo);
    WriteSkinKeys(ini, kFormInfo, *this, FormInfoKeys());
}

void TbsSkinData::ReadObjectList(gui::TCustomIniFile& ini) {
    ReadList(ini, kSkinObjects, ObjectList, CreateDataSkinObject);
}

void TbsSkinData::ReadControlList(gui::TCustomIniFile& ini) {
    ReadList(ini, kSkinControls, CtrlList, CreateDataSkinControl);
}

// --- writing -------------------------------------------------------------------------------

void TbsSkinData::WriteObjectList(gui::TCustomIniFile& ini) {
    WriteList(ini, kSkinObjects, ObjectList, DataSkinObjectKeyword);
}

void TbsSkinData::WriteControlList(gui::TCustomIniFile& ini) {
    WriteList(ini, kSkinControls, CtrlList, DataSkinControlKeyword);
}

void TbsSkinData::WriteSkinIni(gui::TCustomIniFile& ini) {
    ini.EraseSection(kVersion);
    ini.WriteInteger(kVersion, "ver", 1);
    ini.WriteString(kVersion, "skinname", SkinName);
    ini.WriteString(kVersion, "skinauthor", SkinAuthor);
    ini.WriteString(kVersion, "authoremail", AuthorEmail);
    ini.WriteString(kVersion, "authorurl", AuthorURL);
    ini.WriteString(kVersion, "skincomments", SkinComments);
    ini.EraseSection(kPictures);
    ini.WriteString(kPictures, "picture", FPictureName);
    ini.WriteString(kPictures, "inactivepicture", FInActivePictureName);
    ini.WriteString(kPictures, "mask", FMaskName);
    WriteStrings(ini, kPictures, "activepictures", FActivePicturesNames);
    WriteFormInfo(ini);
    PopupWindow.SaveToFile(ini);
    LayerFrame.SaveToFile(ini);
    HintWindow.SaveToFile(ini);
    ini.EraseSection("SKINCOLORS");
    skinColors_.SaveToFile(ini);
    WriteObjectList(ini);
    WriteControlList(ini);
}

void TbsSkinData::SaveToFile(const std::string& FileName) {
    TbsSkinIniFile ini(FileName);
    std::string ignored;
    if (os::FileExists(FileName)) ini.LoadFile(ignored); // other sections of the file stay
    WriteSkinIni(ini);
    ini.UpdateFile();
}

void TbsSkinData::StoreToDisk(const std::string& AFileName) {
    SaveToFile(AFileName);
    std::string folder = os::ExtractFilePath(AFileName);
    if (!FPicture.Empty() && !FPictureName.empty()) FPicture.SaveToFile(folder + FPictureName);
    if (!FInActivePicture.Empty() && !FInActivePictureName.empty())
        FInActivePicture.SaveToFile(folder + FInActivePictureName);
    if (!FMask.Empty() && !FMaskName.empty()) FMask.SaveToFile(folder + FMaskName);
    for (size_t i = 0; i < FActivePictures.size() && static_cast<int>(i) < FActivePicturesNames.Count();
         ++i) {
        std::string name = FActivePicturesNames[static_cast<int>(i)];
        if (!name.empty()) FActivePictures[i]->SaveToFile(folder + name);
    }
}

void TbsSkinData::SaveToCompressedFile(const std::string& FileName) {
    TbsCompressedStoredSkin stored;
    stored.LoadFromSkinData(*this);
    stored.SaveToCompressFile(FileName);
}

// --- clearing and pictures -----------------------------------------------------------------

void TbsSkinData::ClearSkin() {
    ChangeSkinDataProcess = true;
    ClearAll();
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    SendSkinDataMessage(WM_CHANGESKINDATA);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TbsSkinData::ClearObjects() {
    ObjectList.clear();
    CtrlList.clear();
    FActivePictures.clear();
    FActivePicturesNames.Clear();
    LayerFrame.PictureIndex = -1;
    PopupWindow.WindowPictureIndex = -1;
    HintWindow.WindowPictureIndex = -1;
    skinColors_.SetColorsToDefault();
}

void TbsSkinData::ClearAll() {
    ClearObjects();
    FPicture.Clear();
    FMask.Clear();
    FInActivePicture.Clear();
    FPictureName.clear();
    FMaskName.clear();
    FInActivePictureName.clear();
    Empty = true;
}

bool TbsSkinData::AddBitMap(const std::string& FileName) {
    auto picture = std::make_unique<TbsPicture>();
    try {
        picture->LoadFromFile(FileName);
    } catch (const std::exception& e) {
        lastError_ = e.what();
        return false;
    }
    FActivePicturesNames.Add(os::ExtractFileName(FileName));
    FActivePictures.push_back(std::move(picture));
    return true;
}

void TbsSkinData::DeleteBitMap(int Index) {
    if (Index < 0 || Index >= static_cast<int>(FActivePictures.size())) return;
    FActivePictures.erase(FActivePictures.begin() + Index);
    if (Index < FActivePicturesNames.Count()) FActivePicturesNames.Delete(Index);
}

} // namespace skin

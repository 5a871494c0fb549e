#pragma once
// TbsSkinData: one loaded skin (pictures, form-frame geometry, window-level descriptors and
// the lists of form-object and control descriptors) that every skinned form and control looks
// itself up in by name, and the announcement of every change of it to the application's forms.
#include "gui/StringList.h"
#include "os/Component.h"
#include "skin/core/DataSkinControls.h"
#include "skin/core/DataSkinObjects.h"
#include "skin/core/SkinPicture.h"
#include "skin/core/SkinTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gui {
class TCustomIniFile;
class TMemoryStream;
} // namespace gui

namespace skin {

class TbsCompressedStoredSkin;
class TbsCompressedSkinList;
class TbsResourceStrData;

class TbsSkinData : public os::TComponent {
public:
    explicit TbsSkinData(os::TComponent* AOwner = nullptr);
    // Sends nothing.
    ~TbsSkinData() override;
    std::string ClassName() const override { return "TbsSkinData"; }

    // --- published --------------------------------------------------------------------------
    bool SkinnableForm() const { return skinnableForm_; }
    void SetSkinnableForm(bool value); // a change broadcasts WM_CHANGEFORMSKINNABLE
    bool AnimationForAllWindows = false;
    bool EnableSkinEffects = true;
    bool ShowButtonGlowFrames = true;
    bool ShowCaptionButtonGlowFrames = true;
    bool ShowLayeredBorders() const { return showLayeredBorders_; }
    void SetShowLayeredBorders(bool value); // a change broadcasts WM_SHOWLAYEREDBORDERS

    // References, not owned; cleared when the component they name goes away.
    TbsCompressedStoredSkin* CompressedStoredSkin() const { return storedSkin_; }
    void SetCompressedStoredSkin(TbsCompressedStoredSkin* value); // loads it
    TbsResourceStrData* ResourceStrData() const { return resourceStrData_; }
    void SetResourceStrData(TbsResourceStrData* value); // broadcasts WM_CHANGERESSTRDATA
    TbsCompressedSkinList* SkinList() const { return skinList_; }
    // Loads the item SkinIndex.  While the owner is being loaded, the list and the index are
    // only kept and the item is loaded once, when loading ends, whatever order they came in.
    void SetSkinList(TbsCompressedSkinList* value);
    int SkinIndex() const { return skinIndex_; }
    // The same value does nothing; with a list, an index outside it is ignored (also one a
    // form description sets while it is read).
    void SetSkinIndex(int value);

    TbsSkinColors& SkinColors() { return skinColors_; }
    const TbsSkinColors& SkinColors() const { return skinColors_; }

    // --- the loaded skin --------------------------------------------------------------------
    bool Empty = true;
    // Set from just before WM_BEFORECHANGESKINDATA until just after WM_CHANGESKINDATA.
    bool ChangeSkinDataProcess = false;
    TbsPicture FPicture, FInActivePicture, FMask;
    std::vector<std::unique_ptr<TbsPicture>> FActivePictures; // every picture index indexes this
    std::string FPictureName, FInActivePictureName, FMaskName;
    gui::TStringList FActivePicturesNames;
    std::vector<std::unique_ptr<TbsDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TbsDataSkinControl>> CtrlList;
    TbsDataSkinPopupWindow PopupWindow;
    TbsDataSkinLayerFrame LayerFrame;
    TbsDataSkinHintWindow HintWindow;
    std::string SkinName, SkinAuthor, AuthorURL, AuthorEmail, SkinComments;

    // [FORMINFO]
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    int32_t BGPictureIndex = -1, MDIBGPictureIndex = -1;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TbsStretchType StretchType = TbsStretchType::bsstFull;
    bool MDIBGStretchEffect = false;
    TbsStretchType MDIBGStretchType = TbsStretchType::bsstFull;
    TRect MaskRectArea;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    TRect ButtonsRect, CaptionRect;
    int32_t ButtonsOffset = 0;
    bool CapButtonsInLeft = false;
    bool MainMenuPopupUp = false;
    int32_t BorderW = 0;
    bool AutoRenderingInActiveImage = false;
    TbsInActiveEffect InActiveEffect = TbsInActiveEffect::ieBrightness;
    int32_t FormMinWidth = 0;
    bool MDITabsTransparent = false, MainMenuBarTransparent = false;

    // --- operations -------------------------------------------------------------------------
    // Index of the first descriptor with exactly this name (letter case counts), or -1.
    int GetIndex(const std::string& AIDName) const;
    int GetControlIndex(const std::string& AIDName) const;

    // The loaders return false with the reason in LastError.  One that has announced a change
    // always completes it: a skin that fails midway leaves the component empty, and the forms
    // still receive WM_CHANGESKINDATA and WM_AFTERCHANGESKINDATA.  An empty stored skin, an
    // unreadable or invalid skin folder and an unreadable compressed file change nothing.
    bool LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin);
    bool LoadFromFile(const std::string& FileName); // a skin folder, by its ini file
    bool LoadFromCompressedFile(const std::string& FileName);
    const std::string& LastError() const { return lastError_; }

    // The writers raise the platform's file errors.
    void SaveToFile(const std::string& FileName);
    void StoreToDisk(const std::string& AFileName); // the ini text and every picture beside it
    void SaveToCompressedFile(const std::string& FileName);
    // The whole skin text; every section is erased before it is written.
    void WriteSkinIni(gui::TCustomIniFile& ini);

    void ClearSkin(); // empties the skin and still announces it
    void ClearObjects();
    void ClearAll();
    // False, with LastError, when the file is no readable BMP.
    bool AddBitMap(const std::string& FileName);
    void DeleteBitMap(int Index); // an index outside the list is ignored

    void SendSkinDataMessage(uint32_t M);

protected:
    void Notification(os::TComponent* AComponent, os::TOperation Operation) override;
    void Loaded() override;

private:
    // Announces the change, clears, reads and completes the announcement; false when read
    // raised, with the skin left empty.
    bool ChangeSkin(const std::function<void()>& read);
    void ReadSkin(gui::TCustomIniFile& ini, const std::string* folder);
    void ReadInnerSkin(gui::TMemoryStream& data);
    void ReadFormInfo(gui::TCustomIniFile& ini);
    void WriteFormInfo(gui::TCustomIniFile& ini);
    void ReadObjectList(gui::TCustomIniFile& ini);
    void ReadControlList(gui::TCustomIniFile& ini);
    void WriteObjectList(gui::TCustomIniFile& ini);
    void WriteControlList(gui::TCustomIniFile& ini);
    void LoadActivePictures(const std::string& folder);
    void LoadListItem();
    void Unlink(os::TComponent* old, os::TComponent* now);

    bool skinnableForm_ = true;
    bool showLayeredBorders_ = true;
    TbsCompressedStoredSkin* storedSkin_ = nullptr;
    TbsResourceStrData* resourceStrData_ = nullptr;
    TbsCompressedSkinList* skinList_ = nullptr;
    int skinIndex_ = 0;
    bool listLoadPending_ = false;
    bool indexSetWhileLoading_ = false;
    int indexBeforeLoading_ = 0;
    TbsSkinColors skinColors_;
    std::string lastError_;
};

// Splits a list entry at its first ":" into IDName and type; no ":" gives two empty parts.
void SplitListEntry(const std::string& entry, std::string& idName, std::string& type);

} // namespace skin

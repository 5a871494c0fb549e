#pragma once
// TbsSkinHint: the hint component of the main form.  It makes the application show every hint
// in a skinned hint window, gives the hints of skinned controls their title and picture, and
// offers hints of its own at once or after the application's pause, which the skinned forms'
// caption buttons use.
#include "gui/Application.h"
#include "gui/Font.h"
#include "gui/ImgList.h"
#include "gui/Timer.h"
#include "skin/core/SkinData.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinHintWindow;

class TbsSkinHint : public gui::TComponent {
public:
    explicit TbsSkinHint(gui::TComponent* AOwner);
    ~TbsSkinHint() override;
    std::string ClassName() const override { return "TbsSkinHint"; }

    std::string LineSeparator = "@";
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    bool Active() const { return FActive; }
    // True deactivates every other hint component of the main form.
    void SetActive(bool Value);
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;
    gui::TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(const gui::TFont* Value) { FDefaultFont.Assign(Value); }
    bool UseSkinFont = true;
    gui::TShowHintEvent OnShowHint;

    // At once at the screen point P.
    void ActivateHint(TPoint P, const std::string& AHint);
    // After the application's pause, below the mouse cursor.
    void ActivateHint2(const std::string& AHint);
    // After the pause, centred above (ATop) or below the rectangle.
    void ActivateHint3(const gui::TRect& AFromRect, const std::string& AHint, bool ATop);
    void ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint, int AImageIndex,
                        gui::TCustomImageList* AImageList);
    void ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint, int AImageIndex,
                         gui::TCustomImageList* AImageList);
    void HideHint();
    bool IsVisible() const;
    // How far below the cursor's hot spot a hint goes.
    int GetCursorHeightMargin() const;

    TbsSkinHintWindow* Window() const { return HW.get(); }
    // The title and picture of the hint being shown: empty, 0 and null for a plain hint.
    const std::string& HintTitle() const { return FHintTitle; }
    int HintImageIndex() const { return FHintImageIndex; }
    gui::TCustomImageList* HintImageList() const { return FHintImageList; }

protected:
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

private:
    void AppShowHint(std::string& HintStr, bool& CanShow, gui::THintInfo& HintInfo);
    void StartTimer(int Kind);
    void TimerFired();
    void ClearTitle();

    TbsSkinData* FSD = nullptr;
    bool FActive = true;
    gui::TFont FDefaultFont;
    std::unique_ptr<TbsSkinHintWindow> HW;
    std::unique_ptr<gui::TTimer> HintTimer;
    int pending_ = 0; // 1 plain at the cursor, 2 beside FromRect, 3 extended at the cursor, 4 hide
    std::string HintText;
    gui::TRect FromRect{};
    bool Top = false;
    std::string FHintTitle;
    int FHintImageIndex = 0;
    gui::TCustomImageList* FHintImageList = nullptr;
};

// The first active hint component of the application's main form, or null.
TbsSkinHint* FindActiveSkinHint();

} // namespace skin

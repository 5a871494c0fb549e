#pragma once
// TbsSkinCustomListView: the platform list view without a frame and without native bars.  Its
// scrolling drives two external skinned bars (shown only while the content overflows), its
// column header is painted from a button entry of the skin (the header window is subclassed
// when the list announces its creation), and its font and colours come from the skin.
// Everything else (rows, columns, selection, events) is the platform list view's.
#include "gui/CustomListView.h"
#include "skin/controls/SkinItemView.h"
#include "skin/core/SkinTypes.h"

#include <functional>
#include <memory>
#include <string>

namespace skin {

class TbsDataSkinListView;

// Replaces the drawing of a header section's caption and image.
using TbsDrawHeaderSectionEvent =
    std::function<void(gui::TCanvas* Cnvs, gui::TListColumn* Column, bool Pressed, const gui::TRect& R)>;

class TbsSkinCustomListView : public TbsSkinItemView<gui::TCustomListView, TbsDataSkinListView> {
public:
    explicit TbsSkinCustomListView(gui::TComponent* AOwner);
    ~TbsSkinCustomListView() override;
    std::string ClassName() const override { return "TbsSkinCustomListView"; }

    // Takes effect at the next header paint.
    std::string HeaderSkinDataName = "resizetoolbutton";

    TbsDrawHeaderSectionEvent OnDrawHeaderSection;

    void UpDateScrollBars() override;
    // The subclassed header window, or null.
    HWND HeaderHandle() const { return FHeaderHandle; }
    // The section under the last left press (-1 none) and whether it shows pressed.
    int ActiveSection() const { return FActiveSection; }
    bool HeaderDown() const { return FHeaderDown; }

    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;
    void WndProc(gui::TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void Dispatch(gui::TMessage& Message) override;
    void ScrollByVBar(gui::TObject* Sender) override;
    void ScrollByHBar(gui::TObject* Sender) override;

private:
    // The header's copy of its skin entry, refreshed before every header paint.
    struct HeaderSkin {
        TPoint HLTPt, HRTPt, HLBPt, HRBPt;
        TRect HSkinRect, HClRect, HActiveSkinRect, HDownSkinRect;
        bool HStretchEffect = false, HLeftStretch = false, HTopStretch = false, HRightStretch = false,
             HBottomStretch = false;
        TbsStretchType HStretchType = TbsStretchType::bsstFull;
        gui::TBitmap* HPicture = nullptr;
        gui::TColor HFontColor = 0, HActiveFontColor = 0, HDownFontColor = 0;
    };

    LRESULT HeaderWndProc(HWND h, UINT Msg, WPARAM wp, LPARAM lp);
    void HookHeader(HWND Header);
    void UnhookHeader();
    void GetHeaderSkinData();
    void PaintHeader(HDC DC);
    void DrawHeaderSection(gui::TCanvas* C, int Item, const gui::TRect& R, bool Pressed);
    void DrawHeaderRest(gui::TCanvas* C, const gui::TRect& R);
    gui::TRect SectionRect(int Item);
    // The header items in the order they are shown.
    std::vector<int> SectionOrder();
    void PushTextColor();

    int FHIndex = -1;
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    bool FromSB = false;
    HWND FHeaderHandle = nullptr;
    WNDPROC FHeaderInstance = nullptr, FDefHeaderProc = nullptr;
    int FActiveSection = -1;
    bool FHeaderDown = false, FDevDown = false;
    HeaderSkin H;
};

class TbsSkinListView : public TbsSkinCustomListView {
public:
    using TbsSkinCustomListView::TbsSkinCustomListView;
    std::string ClassName() const override { return "TbsSkinListView"; }
};

} // namespace skin

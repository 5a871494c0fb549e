#pragma once
// TbsSkinCustomTreeView: the platform tree view without a frame and without native bars.  Its
// scrolling drives two external skinned bars (shown only while the tree overflows), and its
// font and colours come from the skin.  The folder trees of the skinned dialogs derive from it.
#include "gui/CustomTreeView.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;
class TbsSkinScrollBar;

class TbsSkinCustomTreeView : public gui::TCustomTreeView, public TbsSkinChangeable {
public:
    explicit TbsSkinCustomTreeView(gui::TComponent* AOwner);
    ~TbsSkinCustomTreeView() override;
    std::string ClassName() const override { return "TbsSkinCustomTreeView"; }

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    // Takes effect at the next skin change.
    std::string SkinDataName = "treeview";
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value);
    gui::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gui::TColor Value);
    bool UseSkinFont = true;

    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);

    // Brings the external bars in step with the tree's own scroll state.
    void UpDateScrollBars();
    int SkinIndex() const { return FIndex; }

    TbsSkinData* SkinDataOf() const override { return FSD; }
    void BeforeChangeSkinData() override {}
    void ChangeSkinData() override;
    void WndProc(gui::TMessage& Message) override;

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;
    void Dispatch(gui::TMessage& Message) override;

private:
    void ScrollTreeByVBar(gui::TObject* Sender);
    void ScrollTreeByHBar(gui::TObject* Sender);
    void SetBarVisible(TbsSkinScrollBar* Bar, bool Value);
    void TakeBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical);
    void PushColors();

    TbsSkinData* FSD = nullptr;
    int FIndex = -1;
    std::unique_ptr<gui::TFont> FDefaultFont;
    gui::TColor FDefaultColor;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    bool FInCheckScrollBars = false;
};

class TbsSkinTreeView : public TbsSkinCustomTreeView {
public:
    using TbsSkinCustomTreeView::TbsSkinCustomTreeView;
    std::string ClassName() const override { return "TbsSkinTreeView"; }
};

} // namespace skin

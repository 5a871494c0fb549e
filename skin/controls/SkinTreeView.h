#pragma once
// TbsSkinCustomTreeView: the platform tree view without a frame and without native bars.  Its
// scrolling drives two external skinned bars (shown only while the tree overflows), and its
// font and colours come from the skin.  The folder trees of the skinned dialogs derive from it.
#include "gui/CustomTreeView.h"
#include "skin/controls/SkinItemView.h"

#include <string>

namespace skin {

class TbsDataSkinTreeView;

class TbsSkinCustomTreeView : public TbsSkinItemView<gui::TCustomTreeView, TbsDataSkinTreeView> {
public:
    explicit TbsSkinCustomTreeView(gui::TComponent* AOwner);
    std::string ClassName() const override { return "TbsSkinCustomTreeView"; }

    void UpDateScrollBars() override;
    void BeforeChangeSkinData() override {}
    void ChangeSkinData() override;
    void WndProc(gui::TMessage& Message) override;

protected:
    void CreateWnd() override;
    void Loaded() override;
    void Dispatch(gui::TMessage& Message) override;
    void ScrollByVBar(gui::TObject* Sender) override;
    void ScrollByHBar(gui::TObject* Sender) override;

private:
    void PushColors();
};

class TbsSkinTreeView : public TbsSkinCustomTreeView {
public:
    using TbsSkinCustomTreeView::TbsSkinCustomTreeView;
    std::string ClassName() const override { return "TbsSkinTreeView"; }
};

} // namespace skin

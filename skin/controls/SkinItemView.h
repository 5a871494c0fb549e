#pragma once
// TbsSkinItemView: what the skinned list and tree views share.  The platform view loses its
// frame and its native bars; two external skinned bars follow its scrolling (shown only while
// the content overflows), and its font and colours come from its skin entry (`Data`, which
// carries a font group and a background colour), or from the defaults while the skin has none.
// Each view says how its own scroll state maps onto the bars and how a bar scrolls it.
#include "gui/Font.h"
#include "gui/WinControl.h"
#include "skin/engine/SkinChangeWalk.h"

#include <memory>
#include <string>

namespace skin {

class TbsSkinData;
class TbsSkinScrollBar;

template <class View, class Data> class TbsSkinItemView : public View, public TbsSkinChangeable {
public:
    TbsSkinItemView(gui::TComponent* AOwner, std::string DataName);
    ~TbsSkinItemView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    // Takes effect at the next skin change.
    std::string SkinDataName;
    gui::TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(const gui::TFont* Value);
    gui::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gui::TColor Value);
    bool UseSkinFont = true;

    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);

    // Brings the external bars in step with the view's own scroll state.
    virtual void UpDateScrollBars() = 0;
    int SkinIndex() const { return FIndex; }

    TbsSkinData* SkinDataOf() const override { return FSD; }
    // The skin entry's font and colours, then the bars (and the layout that holds them).
    void ChangeSkinData() override;

protected:
    void CreateParams(gui::TCreateParams& Params) override;
    void Notification(gui::TComponent* AComponent, gui::TOperation Operation) override;

    // The messages of the native frame, which never shows: true when handled.
    bool HandleFrameMessage(gui::TMessage& Message);
    // A hidden view hides its bars; a shown one shows those its content needs.
    void FollowVisible();
    virtual void ScrollByVBar(gui::TObject* Sender) = 0;
    virtual void ScrollByHBar(gui::TObject* Sender) = 0;
    void SetBarVisible(TbsSkinScrollBar* Bar, bool Value);
    // Ends an update of the bars that began with them shown as given: an aligned view whose
    // bars came or went has its parent lay them out again.
    void EndBarUpdate(bool OldV, bool OldH);

    TbsSkinData* FSD = nullptr;
    int FIndex = -1;
    std::unique_ptr<gui::TFont> FDefaultFont;
    gui::TColor FDefaultColor;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    bool FInCheckScrollBars = false;

private:
    void TakeBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical);
};

} // namespace skin

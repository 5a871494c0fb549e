#pragma once
// Tab controls over the native "SysTabControl32" window: a row (or rows) of tabs and the area
// under them.  The tabs are kept here and handed to every window made; the user's change of
// tab asks OnChanging (which may refuse) and then tells OnChange; a change from code tells
// nobody, as Win32's does.
#include "gui/StringList.h"
#include "gui/WinControl.h"

#include <functional>
#include <memory>
#include <string>

namespace gui {

enum TTabPosition : uint8_t { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle : uint8_t { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TCustomTabControl : public TWinControl {
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;
    std::string ClassName() const override { return "TCustomTabControl"; }
    void WndProc(TMessage& message) override;

    TStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(const TStrings* tabs);
    // -1 for none.  From code: no OnChanging, no OnChange.  Deleting the selected tab selects
    // the one taking its place (the one before, at the end).
    int TabIndex();
    void SetTabIndex(int value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition value);
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle value);
    // 0: the window's own height and each caption's width; a width above 0 fixes every tab.
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    // The images of the tabs, also widening every tab by an image's width.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    // The area under the tabs, in client coordinates.
    TRect DisplayRect();
    TRect TabRect(int index);
    int IndexOfTabAt(int x, int y);
    int RowCount();

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void AdjustClientRect(TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange();
    virtual void Change();
    // The image of a tab; by default the tab's own index.
    virtual int GetImageIndex(int tabIndex) { return tabIndex; }
    // The tabs went into a new window or changed: the window shows them anew.
    void UpdateTabs();
    void UpdateTabImages();

private:
    class TTabStrings;
    void ApplyItemSize();
    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
    bool multiLine_ = false, hotTrack_ = false;
    TTabPosition tabPosition_ = tpTop;
    TTabStyle style_ = tsTabs;
    int tabHeight_ = 0, tabWidth_ = 0;
    TCustomImageList* images_ = nullptr;
    bool updating_ = false;
};

class TTabControl : public TCustomTabControl {
public:
    explicit TTabControl(TComponent* owner) : TCustomTabControl(owner) {}
    std::string ClassName() const override { return "TTabControl"; }
};

} // namespace gui

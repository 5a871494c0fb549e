#pragma once
// What a button asks of the menu it drops down: to show itself next to a rectangle of the
// screen.  The skinned popup menu answers it; until a menu can be shown nothing is, and the
// button comes up again at once.
#include "gui/Controls.h"
#include "gui/ImgList.h"

#include <string>

namespace skin {

// Sent to the control that opened a skinned menu when the menu closes (both parameters 0).
inline constexpr UINT WM_CLOSESKINMENU = 1228;

class TbsTrackMenu {
public:
    virtual ~TbsTrackMenu() = default;
    // Shows the menu below R (above it with APopupUp or without room below), recording
    // AOpener, which receives WM_CLOSESKINMENU when the menu closes.  False when nothing was
    // shown: then no close notice follows.
    virtual bool PopupFromRect(gui::TControl* AOpener, const gui::TRect& R, bool APopupUp) = 0;
};

// What a speed button asks of an images menu: to show its grid below a rectangle of the screen,
// and the chosen item's picture and caption to show on itself.  The images menu answers it.
class TbsTrackImagesMenu {
public:
    virtual ~TbsTrackImagesMenu() = default;
    // The component behind the menu, for its removal notice.
    virtual gui::TComponent* MenuComponent() = 0;
    // Shows the grid below R; false when nothing was shown (no items or no images): then no
    // close notice follows.
    virtual bool TrackFromRect(const gui::TRect& R) = 0;
    // The chosen item's image list, image index and caption; false while none is chosen.
    virtual bool SelectedImage(gui::TCustomImageList*& Images, int& ImageIndex,
                               std::string& Caption) const = 0;

    // The opener's own notices, apart from the owner's events: a change of the chosen item, and
    // the grid's closing.
    gui::TNotifyEvent OnInternalChange, OnInternalMenuClose;
};

} // namespace skin

#pragma once
// What a skinned form needs of its notification-area icon to minimise into it and come back.
// The tray icon component implements it; the form only holds a reference.
#include <functional>

namespace gui {
class TPopupMenu;
}

namespace skin {

class TbsFormTrayIcon {
public:
    virtual ~TbsFormTrayIcon() = default;
    // Set while the application sits in the notification area: the icon hides the
    // application's windows on the next minimise and shows its own icon.
    virtual void SetMinimizeToTray(bool value) = 0;
    // Shows the main form again, flags it with the tray-restore tag and posts the notice.
    virtual void ShowMainForm() = 0;
    virtual void SetIconVisible(bool value) = 0;
    // Whether the icon has a menu and a double-click handler of its own; the form offers its
    // tray menu and its restore command otherwise.
    virtual bool HasPopupMenu() const = 0;
    virtual bool HasDblClickHandler() const = 0;
    virtual void SetPopupMenu(gui::TPopupMenu* menu) = 0;
    virtual void SetDblClickHandler(std::function<void()> handler) = 0;
};

} // namespace skin

#pragma once
// A menu: the root item whose children are the menu, commands, shortcuts and item pictures.
#include "gui/Classes.h"
#include "gui/Fwd.h"
#include "gui/MenuItem.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace gui {

enum class TFindItemKind { fkCommand, fkShortCut };
// Whether a menu hides its redundant separators before it shows.
enum class TMenuAutoFlag { maAutomatic, maManual, maParent };

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    std::string ClassName() const override { return "TMenu"; }

    // The root item: its children are the menu.
    TMenuItem* Items() const { return items_.get(); }
    TMenuItem* FindItem(unsigned value, TFindItemKind kind) const;
    // Clicks the item with that command; false when there is none.
    bool DispatchCommand(uint16_t command);
    // Clicks the first item, depth first, with that shortcut that can be reached: enabled and
    // visible, and so are the items above it.  True when one was clicked.
    bool IsShortCut(uint16_t key, TShiftState shift);

    // The pictures of the items by ImageIndex; cleared when that component is freed.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    TMenuAutoFlag AutoLineReduction = TMenuAutoFlag::maAutomatic;

    // Any item of the menu changed; rebuild when items came or went.
    std::function<void(TMenu* sender, TMenuItem* source, bool rebuild)> OnChange;

protected:
    friend class TMenuItem;
    virtual void MenuChanged(TMenuItem* source, bool rebuild);
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TMenuItem> items_;
    TCustomImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    std::string ClassName() const override { return "TMainMenu"; }
};

} // namespace gui

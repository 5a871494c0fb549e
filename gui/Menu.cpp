#include "gui/Menu.h"

#include "gui/ImgList.h"
#include "gui/ShortCuts.h"

namespace gui {

void TMenu::SetImages(TCustomImageList* images) {
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images) images->FreeNotification(this);
    MenuChanged(nullptr, false);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) SetImages(nullptr);
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    // The items go while this menu is whole, and tell it nothing on the way.
    items_->menu_ = nullptr;
    items_.reset();
}

namespace {
template <class Pred> TMenuItem* FindDepthFirst(TMenuItem* item, Pred pred, bool reachableOnly) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (reachableOnly && !(child->Enabled() && child->Visible())) continue;
        if (pred(child)) return child;
        if (TMenuItem* found = FindDepthFirst(child, pred, reachableOnly)) return found;
    }
    return nullptr;
}
} // namespace

TMenuItem* TMenu::FindItem(unsigned value, TFindItemKind kind) const {
    return FindDepthFirst(
        items_.get(),
        [&](TMenuItem* item) {
            return kind == TFindItemKind::fkCommand ? item->Command() == value : item->ShortCut() == value;
        },
        false);
}

bool TMenu::DispatchCommand(uint16_t command) {
    TMenuItem* item = FindItem(command, TFindItemKind::fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(uint16_t key, TShiftState shift) {
    TShortCut sc = ShortCut(key, shift);
    if (sc == scNone) return false;
    TMenuItem* item = FindDepthFirst(
        items_.get(), [&](TMenuItem* i) { return i->ShortCut() == sc; }, true);
    if (!item) return false;
    item->Click();
    return true;
}

void TMenu::MenuChanged(TMenuItem* source, bool rebuild) {
    if (OnChange) OnChange(this, source, rebuild);
}

} // namespace gui

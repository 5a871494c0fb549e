#include "gui/MenuItem.h"

#include "gui/Bitmap.h"
#include "gui/Menu.h"

#include <algorithm>
#include <bitset>
#include <mutex>

namespace gui {

namespace {

// Commands are 16-bit, as WM_COMMAND's low word carries them; a freed item's number is used again.
class CommandPool {
public:
    uint16_t Take() {
        std::lock_guard<std::mutex> g(m_);
        for (unsigned n = 0; n < 0xFFFF; ++n) {
            unsigned c = next_;
            next_ = next_ == 0xFFFF ? 1 : next_ + 1;
            if (!used_[c]) {
                used_[c] = true;
                return static_cast<uint16_t>(c);
            }
        }
        throw EMenuError("Out of menu commands");
    }
    void Release(uint16_t c) {
        std::lock_guard<std::mutex> g(m_);
        used_[c] = false;
    }

private:
    std::mutex m_;
    std::bitset<0x10000> used_;
    unsigned next_ = 1;
};

CommandPool& Commands() {
    static CommandPool pool;
    return pool;
}

} // namespace

// --- TMenuItem -----------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(Commands().Take()) {}

TMenuItem::~TMenuItem() {
    while (!items_.empty()) {
        TMenuItem* item = items_.back();
        items_.pop_back();
        item->parent_ = nullptr;
        delete item;
    }
    if (parent_) parent_->Remove(this);
    Commands().Release(command_);
}

template <class T> void TMenuItem::Change(T& field, const T& value, bool rebuild) {
    if (field == value) return;
    field = value;
    MenuChanged(rebuild);
}

void TMenuItem::SetCaption(const std::string& caption) {
    Change(caption_, caption, true);
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    Change(shortCut_, shortCut, true);
}

void TMenuItem::TurnSiblingsOff() {
    if (!parent_ || !radioItem_ || !checked_) return;
    for (TMenuItem* item : parent_->items_)
        if (item != this && item->radioItem_ && item->groupIndex_ == groupIndex_) item->SetChecked(false);
}

void TMenuItem::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool radioItem) {
    if (radioItem_ == radioItem) return;
    radioItem_ = radioItem;
    TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(uint8_t groupIndex) {
    if (groupIndex_ == groupIndex) return;
    groupIndex_ = groupIndex;
    TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetEnabled(bool enabled) {
    Change(enabled_, enabled, false);
}

void TMenuItem::SetVisible(bool visible) {
    Change(visible_, visible, true);
}

void TMenuItem::SetImageIndex(int imageIndex) {
    Change(imageIndex_, imageIndex, false);
}

void TMenuItem::SetDefault(bool value) {
    if (default_ == value) return;
    if (value && parent_)
        for (TMenuItem* item : parent_->items_)
            if (item != this) item->SetDefault(false);
    default_ = value;
    MenuChanged(true);
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (AutoCheck && !(radioItem_ && checked_)) SetChecked(!checked_);
    if (OnClick) OnClick(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EMenuError("Menu index out of range");
    return items_[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_ || item->menu_) throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EMenuError("Menu inserted twice");
    if (index < 0 || index > Count()) throw EMenuError("Menu index out of range");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    item->TurnSiblingsOff();
    MenuChanged(true);
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    int index = IndexOf(item);
    if (index < 0) throw EMenuError("Menu item not found");
    Delete(index);
}

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back(); // each one leaves this item as it goes
}

void TMenuItem::SetMenuIndex(int index) {
    if (!parent_) return;
    TMenuItem* parent = parent_;
    index = std::clamp(index, 0, parent->Count() - 1);
    if (index == MenuIndex()) return;
    parent->Remove(this);
    parent->Insert(index, this);
}

bool TMenuItem::RethinkLines() {
    bool changed = false;
    TMenuItem* pending = nullptr; // a separator that shows only when an item follows it
    bool itemBefore = false;
    for (TMenuItem* item : items_) {
        if (item->IsLine()) {
            if (itemBefore && !pending) {
                pending = item;
            } else if (item->visible_) {
                item->visible_ = false;
                changed = true;
            }
            continue;
        }
        if (!item->visible_) continue;
        if (pending && !pending->visible_) {
            pending->visible_ = true;
            changed = true;
        }
        pending = nullptr;
        itemBefore = true;
    }
    if (pending && pending->visible_) {
        pending->visible_ = false;
        changed = true;
    }
    if (changed) MenuChanged(true);
    return changed;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

void TMenuItem::MenuChanged(bool rebuild) {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, rebuild);
}

TBitmap* TMenuItem::Bitmap() {
    if (!bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        bitmap_->OnChange = [this](TObject*) { MenuChanged(false); };
    }
    return bitmap_.get();
}

bool TMenuItem::HasBitmap() const {
    return bitmap_ && !bitmap_->Empty();
}

void TMenuItem::SetBitmap(const TBitmap* bitmap) {
    Bitmap()->Assign(bitmap);
}

} // namespace gui

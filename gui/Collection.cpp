#include "gui/Collection.h"

#include <algorithm>

namespace gui {

// --- TCollectionItem -----------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) {
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection_ == collection) return;
    if (collection_) collection_->RemoveItem(this);
    if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    auto& v = collection_->items_;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

void TCollectionItem::SetIndex(int index) {
    if (collection_ && index != Index()) collection_->MoveItem(this, index);
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_) collection_->ItemChanged(allItems ? nullptr : this);
}

// --- TCollection ---------------------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass itemClass, TPersistent* owner)
    : itemClass_(itemClass), owner_(owner) {}

TCollection::~TCollection() {
    // No notices while going: a descendant's Update is no longer there to receive them.
    updateCount_ = 1;
    while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
    return itemClass_(this); // the item joins in its constructor
}

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    TCollectionItem* item = Items(index);
    Notify(item, TCollectionNotification::cnDeleting);
    delete item;
}

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty()) Delete(Count() - 1);
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (auto* item : items_)
        if (item->id_ == id) return item;
    return nullptr;
}

void TCollection::Assign(const TPersistent* source) {
    auto* src = dynamic_cast<const TCollection*>(source);
    if (!src) {
        TPersistent::Assign(source);
        return;
    }
    if (src == this) return;
    BeginUpdate();
    Clear();
    for (auto* item : src->items_) Add()->Assign(item);
    EndUpdate();
}

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, TCollectionNotification::cnExtracting);
    items_.erase(std::find(items_.begin(), items_.end(), item));
    item->collection_ = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int index) {
    index = std::clamp(index, 0, Count() - 1);
    items_.erase(std::find(items_.begin(), items_.end(), item));
    items_.insert(items_.begin() + index, item);
    Changed();
}

void TCollection::ItemChanged(TCollectionItem* item) {
    if (updateCount_ == 0) Update(item);
}

} // namespace gui

#pragma once
// TList: an ordered list of pointers that it does not own; a bad index raises EListError.
// Typed: TList<TbsSkinObject> holds TbsSkinObject*; TList<> holds untyped pointers.
#include "gui/Classes.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace gui {

template <class T = void> class TList {
public:
    using TListSortCompare = std::function<int(T* item1, T* item2)>;

    int Count() const { return static_cast<int>(items_.size()); }
    T* Items(int index) const { return items_[Check(index)]; }
    T* operator[](int index) const { return Items(index); }
    void SetItems(int index, T* item) { items_[Check(index)] = item; }
    T* First() const { return Items(0); }
    T* Last() const { return Items(Count() - 1); }

    int Add(T* item) {
        items_.push_back(item);
        return Count() - 1;
    }
    void Insert(int index, T* item) {
        if (index < 0 || index > Count()) RaiseListIndexError(index);
        items_.insert(items_.begin() + index, item);
    }
    void Delete(int index) { items_.erase(items_.begin() + static_cast<long>(Check(index))); }
    // Removes the first occurrence; its former index, or -1.
    int Remove(T* item) {
        int index = IndexOf(item);
        if (index >= 0) Delete(index);
        return index;
    }
    T* Extract(T* item) { return Remove(item) >= 0 ? item : nullptr; }
    void Clear() { items_.clear(); }
    int IndexOf(const T* item) const {
        auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    }
    void Exchange(int index1, int index2) { std::swap(items_[Check(index1)], items_[Check(index2)]); }
    void Move(int curIndex, int newIndex) {
        if (curIndex == newIndex) return;
        T* item = Items(curIndex);
        Check(newIndex);
        Delete(curIndex);
        Insert(newIndex, item);
    }
    // Drops the null entries.
    void Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }
    // Equal items keep their order.
    void Sort(const TListSortCompare& compare) {
        std::stable_sort(items_.begin(), items_.end(), [&](T* a, T* b) { return compare(a, b) < 0; });
    }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    size_t Check(int index) const {
        if (index < 0 || index >= Count()) RaiseListIndexError(index);
        return static_cast<size_t>(index);
    }
    std::vector<T*> items_;
};

} // namespace gui

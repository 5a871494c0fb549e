#include "gui/StringList.h"

#include <algorithm>
#include <numeric>

namespace gui {

namespace {
[[noreturn]] void SortedListError() {
    throw EStringListError("Operation not allowed on sorted list");
}
} // namespace

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].s;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::Put(int index, const std::string& s) {
    if (sorted_) SortedListError();
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].s = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].object = object;
    Changed();
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

int TStringList::AddItem(const std::string& s, TObject* object) {
    int index = Count();
    if (sorted_ && Find(s, index)) {
        switch (Duplicates) {
        case TDuplicates::dupIgnore:
            return index;
        case TDuplicates::dupError:
            throw EStringListError("String list does not allow duplicates");
        case TDuplicates::dupAccept:
            break;
        }
    }
    InsertItem(index, s, object);
    return index;
}

int TStringList::Add(const std::string& s) {
    return AddItem(s, nullptr);
}

int TStringList::AddObject(const std::string& s, TObject* object) {
    return AddItem(s, object);
}

void TStringList::Insert(int index, const std::string& s) {
    if (sorted_) SortedListError();
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    InsertItem(index, s, nullptr);
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    if (caseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return CompareTextAscii(a, b);
}

bool TStringList::Find(const std::string& s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = CompareStrings(items_[static_cast<size_t>(mid)].s, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                // The first of equal items, so that dupAccept adds before the run of equals.
                if (Duplicates != TDuplicates::dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::IndexOf(const std::string& s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (items_.size() < 2) return;
    Changing();
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(items_[static_cast<size_t>(i)]);
    items_.swap(sorted);
    Changed();
}

void TStringList::Sort() {
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->items_[static_cast<size_t>(a)].s,
                                    list->items_[static_cast<size_t>(b)].s);
    });
}

void TStringList::SetSorted(bool value) {
    if (sorted_ == value) return;
    if (value) Sort();
    sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (caseSensitive_ == value) return;
    caseSensitive_ = value;
    if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

} // namespace gui

#pragma once
// TStringList: the string list that stores its items, optionally kept sorted.
#include "gui/Strings.h"

#include <functional>
#include <vector>

namespace gui {

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    using TStringListSortCompare = std::function<int(TStringList* list, int index1, int index2)>;

    std::string ClassName() const override { return "TStringList"; }

    int Count() const override { return static_cast<int>(items_.size()); }
    // On a sorted list the string goes to its sorted place; a duplicate is then ignored (the
    // index of the one present is returned), accepted or refused, as Duplicates says.
    int Add(const std::string& s) override;
    int AddObject(const std::string& s, TObject* object) override;
    void Insert(int index, const std::string& s) override; // not on a sorted list
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const std::string& s) const override;

    // Binary search of a sorted list: true when found; index is where it is or would go.
    bool Find(const std::string& s, int& index) const;
    void Sort();
    // The comparison sees the items as they were when sorting began; equal items keep their order.
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    TDuplicates Duplicates = TDuplicates::dupIgnore;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(const std::string& a, const std::string& b) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct Item {
        std::string s;
        TObject* object = nullptr;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, const std::string& s, TObject* object);
    int AddItem(const std::string& s, TObject* object);
    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};

} // namespace gui

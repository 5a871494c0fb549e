#include "gui/Collection.h"
#include "gui/List.h"

#include <gtest/gtest.h>

using namespace gui;

namespace {

class TColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string ClassName() const override { return "TColumn"; }
    int Width() const { return width_; }
    void SetWidth(int w) {
        width_ = w;
        Changed(false);
    }
    void Assign(const TPersistent* source) override {
        if (auto* c = dynamic_cast<const TColumn*>(source))
            width_ = c->width_;
        else
            TCollectionItem::Assign(source);
    }

private:
    int width_ = 50;
};

class TColumns : public TCollection {
public:
    explicit TColumns(TPersistent* owner = nullptr) : TCollection(ItemClass<TColumn>, owner) {}
    TColumn* Add() { return static_cast<TColumn*>(TCollection::Add()); }
    TColumn* Items(int i) const { return static_cast<TColumn*>(TCollection::Items(i)); }
    std::vector<std::string> updates; // "all" or the changed item's ID

protected:
    void Update(TCollectionItem* item) override {
        updates.push_back(item ? std::to_string(item->ID()) : "all");
    }
};

} // namespace

TEST(Collection, ItemsKeepTheirIdsAndReportChanges) {
    TPersistent listView;
    TColumns columns(&listView);
    EXPECT_EQ(columns.Owner(), &listView);
    auto* a = columns.Add();
    auto* b = columns.Add();
    auto* c = columns.Add();
    EXPECT_EQ((std::vector<int>{a->ID(), b->ID(), c->ID()}), (std::vector<int>{0, 1, 2}));
    columns.updates.clear();

    b->SetWidth(80);
    EXPECT_EQ(columns.updates, (std::vector<std::string>{"1"}));
    c->SetIndex(0);
    EXPECT_EQ(columns.Items(0), c);
    EXPECT_EQ(a->Index(), 1);

    columns.Delete(2); // b
    EXPECT_EQ(columns.Count(), 2);
    auto* d = columns.Add();
    EXPECT_EQ(d->ID(), 3); // IDs are never reused
    EXPECT_EQ(columns.FindItemID(3), d);
    EXPECT_EQ(columns.FindItemID(1), nullptr);
    auto* e = columns.Insert(0);
    EXPECT_EQ(columns.Items(0), e);
    delete a; // an item freed on its own leaves the collection
    EXPECT_EQ(columns.Count(), 3);
    EXPECT_THROW(columns.Items(3), EListError);

    columns.updates.clear();
    columns.BeginUpdate();
    columns.Items(0)->SetWidth(1);
    columns.Add();
    columns.EndUpdate();
    EXPECT_EQ(columns.updates, (std::vector<std::string>{"all"}));
}

TEST(Collection, AssignCopiesItemByItemAndAnItemCanChangeCollections) {
    TColumns from, to;
    from.Add()->SetWidth(10);
    from.Add()->SetWidth(20);
    to.Add();
    to.Assign(&from);
    ASSERT_EQ(to.Count(), 2);
    EXPECT_EQ(to.Items(1)->Width(), 20);
    EXPECT_EQ(to.Items(1)->Collection(), &to);

    to.Items(0)->SetCollection(&from);
    EXPECT_EQ(to.Count(), 1);
    EXPECT_EQ(from.Count(), 3);
    EXPECT_EQ(from.Items(2)->Width(), 10);
    from.Clear();
    EXPECT_EQ(from.Count(), 0);
}

TEST(List, IndexErrorsSortAndMove) {
    int v[] = {3, 1, 2, 1};
    TList<int> list;
    for (int& x : v) list.Add(&x);
    list.Sort([](int* a, int* b) { return *a - *b; });
    EXPECT_EQ(list[0], &v[1]); // equal items keep their order
    EXPECT_EQ(list[1], &v[3]);
    EXPECT_EQ(*list.Last(), 3);
    list.Move(3, 0);
    EXPECT_EQ(*list.First(), 3);
    EXPECT_EQ(list.Remove(&v[2]), 3);
    EXPECT_EQ(list.IndexOf(&v[2]), -1);
    list.SetItems(0, nullptr);
    list.Pack();
    EXPECT_EQ(list.Count(), 2);
    try {
        list.Items(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (2)");
    }
    EXPECT_THROW(list.Insert(-1, nullptr), EListError);
}

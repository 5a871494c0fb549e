#pragma once
// TCollection: an owned, ordered set of items of one class, each with a stable ID, that
// tells its owner when items change (Update), so that a control can repaint once per batch.
#include "gui/Classes.h"

#include <vector>

namespace gui {

class TCollectionItem : public TPersistent {
public:
    // Joins the collection (when given), which then owns and frees it.
    explicit TCollectionItem(TCollection* collection);
    // Leaves its collection.
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;
    std::string ClassName() const override { return "TCollectionItem"; }

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* collection);
    int Index() const;
    void SetIndex(int index); // moves the item
    int ID() const { return id_; }
    virtual std::string DisplayName() const { return ClassName(); }

protected:
    // Announces a change of this item (allItems: of the whole collection).
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
    using TCollectionItemClass = TCollectionItem* (*)(TCollection* collection);
    // How Add makes an item: ItemClass<TMyItem>.
    template <class T> static TCollectionItem* ItemClass(TCollection* collection) {
        return new T(collection);
    }

    explicit TCollection(TCollectionItemClass itemClass, TPersistent* owner = nullptr);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;
    std::string ClassName() const override { return "TCollection"; }

    TPersistent* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    void SetItems(int index, const TCollectionItem* value) { Items(index)->Assign(value); }
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index); // frees the item
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    // Items are copied one by one through their Assign.
    void Assign(const TPersistent* source) override;

    // Changes between BeginUpdate and EndUpdate give one Update(nullptr) at the end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    // Called for each change outside a batch: the changed item, or nullptr for many.
    virtual void Update(TCollectionItem*) {}
    virtual void Notify(TCollectionItem*, TCollectionNotification) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int index);
    void ItemChanged(TCollectionItem* item);
    TCollectionItemClass itemClass_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

} // namespace gui

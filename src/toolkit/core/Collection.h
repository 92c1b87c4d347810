// Collections: ordered lists of items of one class, owned by the collection and stored
// with forms as "<item ... end>" blocks (status-bar panels, list-view columns).
#pragma once

#include "Persistent.h"

#include <memory>
#include <vector>

class TCollection;

// What a collection tells about one item: added (once the item is complete), about to leave
// without being freed, about to be freed (while it is still complete).
enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
    TW_DECLARE_CLASS(TCollectionItem, TPersistent)

    // Joins the collection silently: the item is not complete yet. Items the collection
    // creates itself (Add, Insert) are announced when they are.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;
    // Tells the collection that the item is going, while it is still whole.
    void BeforeDestruction() override;

    TCollection* Collection() const { return FCollection; }
    int Index() const;
    void SetIndex(int index);
    int ID() const { return FID; }
    virtual std::string DisplayName() const { return ClassName(); }
    TPersistent* GetOwner() const override;
    // Copies the published properties of an item of the same class (sub-objects through
    // their own Assign); other sources are refused as usual.
    void Assign(TPersistent* source) override;

protected:
    // Tells the collection that this item changed (all items when allItems).
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
    TW_DECLARE_CLASS(TCollection, TPersistent)

    explicit TCollection(TClass itemClass, TPersistent* owner = nullptr);
    ~TCollection() override;

    TClass ItemClass() const { return FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int index) const;
    // Creates an item of the item class at the end (Insert: at index); the collection hears of
    // it (Notify, then Update) once the item is complete, before its properties are set.
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    // Takes the item out of the collection without freeing it; the caller owns it then.
    void Extract(TCollectionItem* item);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    TPersistent* GetOwner() const override { return FOwner; }
    void Assign(TPersistent* source) override;

protected:
    // Called after an item changed, was added or removed (item null: all items).
    virtual void Update(TCollectionItem*) {}
    // Called for each item added or leaving, also while updates are held (BeginUpdate).
    virtual void Notify(TCollectionItem*, TCollectionNotification) {}
    void Changed();

private:
    friend class TCollectionItem;
    TCollectionItem* CreateItem(int index);
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int index);

    TClass FItemClass;
    TPersistent* FOwner;
    std::vector<TCollectionItem*> FItems; // owned; items leave the list in their destructor
    int FNextID = 0;
    int FUpdateCount = 0;
};

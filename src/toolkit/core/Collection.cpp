#include "Collection.h"

#include "Streams.h"

#include <algorithm>

TClass TCollectionItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCollectionItem>("TCollectionItem").Build();
    return &info;
}

TCollectionItem::TCollectionItem(TCollection* collection) {
    if (collection)
        collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (FCollection)
        FCollection->RemoveItem(this);
}

void TCollectionItem::BeforeDestruction() {
    TPersistent::BeforeDestruction();
    if (FCollection)
        FCollection->Notify(this, cnDeleting);
}

int TCollectionItem::Index() const {
    if (!FCollection)
        return -1;
    auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    if (FCollection && index != Index())
        FCollection->MoveItem(this, index);
}

TPersistent* TCollectionItem::GetOwner() const {
    return FCollection;
}

void TCollectionItem::Assign(TPersistent* source) {
    if (!source || source->ClassType() != ClassType()) {
        TPersistent::Assign(source);
        return;
    }
    for (const TPropInfo* p : ClassType()->PropList()) {
        switch (p->Kind) {
        case tkInteger:
        case tkEnumeration:
        case tkSet:
            if (p->SetOrd)
                p->SetOrd(*this, p->GetOrd(*source));
            break;
        case tkLString:
            if (p->SetStr)
                p->SetStr(*this, p->GetStr(*source));
            break;
        case tkWString:
            if (p->SetWStr)
                p->SetWStr(*this, p->GetWStr(*source));
            break;
        case tkMethod:
            p->SetMethod(*this, p->GetMethod(*source));
            break;
        case tkClass: {
            auto* from = dynamic_cast<TPersistent*>(p->GetObj(*source));
            auto* to = dynamic_cast<TPersistent*>(p->GetObj(*this));
            if (from && to)
                to->Assign(from);
            break;
        }
        case tkBinary: {
            TMemoryStream data;
            p->WriteData(*source, data);
            data.SetPosition(0);
            p->ReadData(*this, data);
            break;
        }
        case tkUnknown:
            break;
        }
    }
    Changed(false);
}

void TCollectionItem::Changed(bool allItems) {
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

TClass TCollection::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCollection>("TCollection").Build();
    return &info;
}

TCollection::TCollection(TClass itemClass, TPersistent* owner) : FItemClass(itemClass), FOwner(owner) {
    if (!itemClass || !itemClass->CreateItem)
        throw EInvalidOperation("A collection needs an item class that can be created");
}

TCollection::~TCollection() {
    FUpdateCount = 1; // no updates while tearing down
    Clear();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
    return CreateItem(Count());
}

TCollectionItem* TCollection::Insert(int index) {
    return CreateItem(std::clamp(index, 0, Count()));
}

// The item's constructor puts it at the end without a word; it is moved to its place and
// announced once it is complete.
TCollectionItem* TCollection::CreateItem(int index) {
    TCollectionItem* item = FItemClass->CreateItem(this);
    if (index != Count() - 1) {
        std::erase(FItems, item);
        FItems.insert(FItems.begin() + index, item);
    }
    Notify(item, cnAdded);
    Changed();
    return item;
}

void TCollection::Delete(int index) {
    TObject::Free(Items(index));
}

void TCollection::Extract(TCollectionItem* item) {
    if (!item || item->FCollection != this)
        return;
    Notify(item, cnExtracting);
    RemoveItem(item);
}

void TCollection::Clear() {
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        TObject::Free(FItems.back());
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id)
            return item;
    return nullptr;
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
}

void TCollection::RemoveItem(TCollectionItem* item) {
    std::erase(FItems, item);
    item->FCollection = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int index) {
    std::erase(FItems, item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    Changed();
}

void TCollection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    Clear();
    for (int i = 0; i < other->Count(); ++i)
        Add()->Assign(other->Items(i));
    EndUpdate();
}

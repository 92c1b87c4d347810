// Collections tell of their items only while the items are whole: an added item once its
// constructor has finished, a leaving one before its destructor starts.
#include "Classes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TProbeItem : public TCollectionItem {
    TW_DECLARE_CLASS(TProbeItem, TCollectionItem)
    explicit TProbeItem(TCollection* collection) : TCollectionItem(collection), Marker("complete") {}
    ~TProbeItem() override { Marker = "destroyed"; }
    std::string Marker;
    int Width = 0;
};

TClass TProbeItem::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TProbeItem>("TProbeItem").Int("Width", &TProbeItem::Width, &TProbeItem::Width).Build();
    return &info;
}

// Records each notification and update as text, with what the item looked like then.
class TProbeCollection : public TCollection {
    TW_DECLARE_CLASS(TProbeCollection, TCollection)
    TProbeCollection() : TCollection(TProbeItem::StaticClass()) {}
    std::vector<std::string> Log;

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override {
        static const char* const kNames[] = {"added", "extracting", "deleting"};
        const auto* probe = dynamic_cast<TProbeItem*>(item);
        Log.push_back(std::string(kNames[action]) + " " + (probe ? probe->Marker : item->ClassName()) +
                      " at " + std::to_string(item->Index()) + " of " + std::to_string(Count()));
    }
    void Update(TCollectionItem* item) override {
        std::string widths;
        for (int i = 0; i < Count(); ++i)
            widths += " " + std::to_string(dynamic_cast<TProbeItem&>(*Items(i)).Width);
        Log.push_back(std::string(item ? "update item" : "update") + widths);
    }
};

TClass TProbeCollection::StaticClass() {
    static const TClassInfo info = TClassBuilder<TProbeCollection>("TProbeCollection").Build();
    return &info;
}

using Lines = std::vector<std::string>;

TEST(CollectionNotification, AddedItemsAreAnnouncedWholeAndInTheirPlace) {
    TProbeCollection c;
    c.Add();
    EXPECT_EQ(c.Log, (Lines{"added complete at 0 of 1", "update 0"}));
    c.Log.clear();
    auto* inserted = dynamic_cast<TProbeItem*>(c.Insert(0));
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(c.Items(0), inserted);
    EXPECT_EQ(c.Log, (Lines{"added complete at 0 of 2", "update 0 0"}));
    c.Log.clear();
    c.Insert(99); // past the end: appended
    EXPECT_EQ(c.Log, (Lines{"added complete at 2 of 3", "update 0 0 0"}));
}

TEST(CollectionNotification, LeavingItemsAreAnnouncedWholeAndTheUpdateComesWithoutThem) {
    TProbeCollection c;
    for (int i = 0; i < 3; ++i)
        dynamic_cast<TProbeItem&>(*c.Add()).Width = i + 1;
    c.Log.clear();
    c.Delete(1);
    EXPECT_EQ(c.Log, (Lines{"deleting complete at 1 of 3", "update 1 3"}));
    c.Log.clear();
    TObject::Free(c.Items(1)); // freed on its own
    EXPECT_EQ(c.Log, (Lines{"deleting complete at 1 of 2", "update 1"}));
    c.Log.clear();
    std::unique_ptr<TCollectionItem, TObjectDeleter> taken(c.Items(0));
    c.Extract(taken.get());
    EXPECT_EQ(c.Log, (Lines{"extracting complete at 0 of 1", "update"}));
    EXPECT_EQ(taken->Collection(), nullptr);
    c.Log.clear();
    taken.reset(); // no longer the collection's business
    EXPECT_TRUE(c.Log.empty());
}

TEST(CollectionNotification, HeldUpdatesStillNotifyEachItemAndUpdateOnceAtTheEnd) {
    TProbeCollection c;
    c.BeginUpdate();
    c.Add();
    c.Add();
    c.Clear();
    c.EndUpdate();
    EXPECT_EQ(c.Log, (Lines{"added complete at 0 of 1", "added complete at 1 of 2",
                            "deleting complete at 1 of 2", "deleting complete at 0 of 1", "update"}));
}

class TProbeHolder : public TComponent {
    TW_DECLARE_CLASS(TProbeHolder, TComponent)
    using TComponent::TComponent;
    TProbeCollection* Items() const { return FItems.get(); }

private:
    std::unique_ptr<TProbeCollection> FItems = std::make_unique<TProbeCollection>();
};

TClass TProbeHolder::StaticClass() {
    static const TClassInfo info = TClassBuilder<TProbeHolder>("TProbeHolder")
                                       .Obj<TProbeCollection>("Items", &TProbeHolder::Items)
                                       .Build();
    return &info;
}

TEST(CollectionNotification, ADescribedCollectionUpdatesOnceEveryItemHasItsProperties) {
    std::unique_ptr<TProbeHolder, TObjectDeleter> holder(new TProbeHolder(nullptr));
    ReadComponentText(*holder,
                      "object Holder: TProbeHolder\n"
                      "  Items = <\n"
                      "    item\n      Width = 100\n    end\n"
                      "    item\n      Width = 280\n    end>\n"
                      "end\n",
                      "Holder.form");
    const Lines& log = holder->Items()->Log;
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "update 100 280");
    for (const std::string& line : log)
        EXPECT_TRUE(line.rfind("update", 0) != 0 || line == "update 100 280") << line;
}

} // namespace

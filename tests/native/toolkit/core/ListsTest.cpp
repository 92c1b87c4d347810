// TList and the string lists.
#include "TestClasses.h"

#include <gtest/gtest.h>

namespace {

TEST(List, IndexesAreRangeChecked) {
    TList<int> list;
    list.Add(1);
    list.Add(2);
    list.Add(1);
    list.Insert(0, 9);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.IndexOf(1), 1);
    EXPECT_EQ(list.RemoveLast(1), 3);
    EXPECT_EQ(list.Remove(9), 0);
    EXPECT_EQ(list[0], 1);
    EXPECT_EQ(list.Remove(42), -1);
    try {
        list[5];
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (5)");
    }
    EXPECT_THROW(list.Insert(3, 0), EListError);
    list.Move(0, 1);
    EXPECT_EQ(list[0], 2);
}

struct ChangeCounter : TObject {
    int changes = 0, changing = 0;
    void Changed(TObject*) { ++changes; }
    void Changing(TObject*) { ++changing; }
};

TEST(StringList, ComparesWithoutRegardToCaseByDefault) {
    TStringList list;
    list.Add("Alpha");
    list.Add("beta");
    EXPECT_EQ(list.IndexOf("ALPHA"), 0);
    EXPECT_EQ(list.IndexOf("Gamma"), -1);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("ALPHA"), -1);
}

TEST(StringList, SortedListsFindAndHandleDuplicates) {
    TStringList list;
    list.SetSorted(true);
    list.Add("pear");
    list.Add("Apple");
    list.Add("fig");
    EXPECT_EQ(list.Text(), "Apple\r\nfig\r\npear\r\n");
    EXPECT_EQ(list.Add("APPLE"), 0); // dupIgnore: the existing line
    EXPECT_EQ(list.Count(), 3);
    int index = -1;
    EXPECT_FALSE(list.Find("grape", index));
    EXPECT_EQ(index, 2);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add("Fig"), EStringListError);
    list.SetDuplicates(dupAccept);
    list.Add("Fig");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_THROW(list.Insert(0, "x"), EStringListError);
}

TEST(StringList, AttachedObjectsAndIntegersFollowTheirLines) {
    TStringList list;
    TComponent a(nullptr), b(nullptr);
    list.AddObject("a", &a);
    list.AddObject("b", &b);
    list.PutInteger(1, 5555);
    list.Exchange(0, 1);
    EXPECT_EQ(list[0], "b");
    EXPECT_EQ(list.Objects(0), &b);
    EXPECT_EQ(list.Integers(0), 5555);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    list.Move(0, 1);
    EXPECT_EQ(list.Integers(1), 5555);
    TStringList copy;
    copy.Assign(&list);
    EXPECT_TRUE(copy.Equals(list));
    EXPECT_EQ(copy.Objects(1), &b);
}

TEST(StringList, OwnedObjectsAreFreedWithTheirLines) {
    std::vector<std::string> log;
    struct Probe : TObject {
        std::vector<std::string>* log;
        std::string id;
        Probe(std::vector<std::string>* l, std::string i) : log(l), id(std::move(i)) {}
        ~Probe() override { log->push_back(id); }
    };
    {
        TStringList list;
        list.SetOwnsObjects(true);
        list.AddObject("1", new Probe(&log, "1"));
        list.AddObject("2", new Probe(&log, "2"));
        list.Delete(0);
        EXPECT_EQ(log, (std::vector<std::string>{"1"}));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"1", "2"}));
}

TEST(StringList, BeginEndUpdateFoldsChangesIntoOne) {
    TStringList list;
    ChangeCounter counter;
    list.OnChange = TNotifyEvent(&counter, &ChangeCounter::Changed);
    list.OnChanging = TNotifyEvent(&counter, &ChangeCounter::Changing);
    list.Add("one");
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(counter.changing, 1);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("two");
    list.Add("three");
    list.EndUpdate();
    EXPECT_EQ(counter.changes, 1);
    list.EndUpdate();
    EXPECT_EQ(counter.changes, 2);
    EXPECT_EQ(counter.changing, 2);
}

TEST(Collection, ItemsKeepTheirOrderIdsAndCopyTheirPublishedProperties) {
    TCollection source(TTestItem::StaticClass());
    auto* first = dynamic_cast<TTestItem*>(source.Add());
    first->Width = 150;
    first->Text = "Name";
    auto* second = dynamic_cast<TTestItem*>(source.Insert(0));
    second->Width = 50;
    EXPECT_EQ(source.Items(0), second);
    EXPECT_EQ(first->Index(), 1);
    EXPECT_EQ(source.FindItemID(first->ID()), first);
    TCollection copy(TTestItem::StaticClass());
    copy.Add();
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(dynamic_cast<TTestItem*>(copy.Items(1))->Text, "Name");
    EXPECT_EQ(dynamic_cast<TTestItem*>(copy.Items(1))->Width, 150);
    EXPECT_EQ(dynamic_cast<TTestItem*>(copy.Items(0))->Width, 50);
    TObject::Free(first); // an item freed on its own leaves the collection
    EXPECT_EQ(source.Count(), 1);
    EXPECT_THROW(source.Items(1), EListError);
    TStringList notAnItem;
    EXPECT_THROW(copy.Items(0)->Assign(&notAnItem), EConvertError);
}

TEST(StringList, TextCommaTextAndValues) {
    TStringList list;
    list.SetText("a\r\nb\nc\r\rd");
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list[3], "");
    list.SetCommaText("one,\"two words\", \"say \"\"hi\"\"\",,last");
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list[1], "two words");
    EXPECT_EQ(list[2], "say \"hi\"");
    EXPECT_EQ(list[3], "");
    EXPECT_EQ(list.CommaText(), "one,\"two words\",\"say \"\"hi\"\"\",\"\",last");
    list.SetText("TButton=button\r\nTPanel=Panel\r\n");
    EXPECT_EQ(list.Values("tpanel"), "Panel");
    EXPECT_EQ(list.Names(0), "TButton");
    list.SetValue("TEdit", "edit");
    EXPECT_EQ(list.IndexOfName("TEDIT"), 2);
    list.SetValue("TButton", "");
    EXPECT_EQ(list.IndexOfName("TButton"), -1);
}

} // namespace

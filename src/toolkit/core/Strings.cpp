#include "Strings.h"

#include "Streams.h"

#include <algorithm>

// ---- TStrings ------------------------------------------------------------------------------

TClass TStrings::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStrings>("TStrings").Build();
    return &info;
}

void TStrings::Error(const char* message, int index) const {
    throw EStringListError(FormatMsg(message, {IntToStr(index)}));
}

void TStrings::Put(int index, const std::string& s) {
    TObject* obj = GetObject(index);
    const intptr_t value = GetInteger(index);
    Delete(index);
    InsertObject(index, s, obj);
    PutInteger(index, value);
}

TObject* TStrings::GetObject(int) const {
    return nullptr;
}
void TStrings::PutObject(int, TObject*) {}
intptr_t TStrings::GetInteger(int) const {
    return 0;
}
void TStrings::PutInteger(int, intptr_t) {}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
    return AnsiCompareText(a, b);
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0)
            return i;
    return -1;
}

int TStrings::Add(const std::string& s) {
    const int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
    const int index = Add(s);
    if (index >= 0)
        PutObject(index, obj);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* obj) {
    Insert(index, s);
    PutObject(index, obj);
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i) {
        const int index = AddObject(other.Get(i), other.GetObject(i));
        if (index >= 0)
            PutInteger(index, other.GetInteger(i));
    }
    EndUpdate();
}

void TStrings::Exchange(int a, int b) {
    const std::string sa = Get(a), sb = Get(b);
    TObject* oa = GetObject(a);
    TObject* ob = GetObject(b);
    const intptr_t ia = GetInteger(a), ib = GetInteger(b);
    Put(a, sb);
    PutObject(a, ob);
    PutInteger(a, ib);
    Put(b, sa);
    PutObject(b, oa);
    PutInteger(b, ia);
}

void TStrings::Move(int from, int to) {
    if (from == to)
        return;
    const std::string s = Get(from);
    TObject* obj = GetObject(from);
    const intptr_t value = GetInteger(from);
    Delete(from);
    InsertObject(to, s, obj);
    PutInteger(to, value);
}

int TStrings::IndexOfObject(const TObject* obj) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == obj)
            return i;
    return -1;
}

std::string TStrings::Names(int index) const {
    const std::string s = Get(index);
    const size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const {
    const std::string s = Get(index);
    const size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TStrings::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string s = Get(i);
        const size_t eq = s.find('=');
        if (eq != std::string::npos && CompareStrings(std::string_view(s).substr(0, eq), name) == 0)
            return i;
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const {
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
    const int index = IndexOfName(name);
    const std::string line = std::string(name) + "=" + value;
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
    } else if (index >= 0) {
        Put(index, line);
    } else {
        Add(line);
    }
}

std::string TStrings::Text() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i);
        out += "\r\n";
    }
    return out;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        Add(std::string(text.substr(start, end - start)));
        if (end < text.size() && text[end] == '\r')
            ++end;
        if (end < text.size() && text[end] == '\n')
            ++end;
        start = end;
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        if (i)
            out += ',';
        const std::string s = Get(i);
        const bool quote = s.empty() || s.find_first_of(" ,\"\t") != std::string::npos;
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStrings::SetCommaText(std::string_view text) {
    BeginUpdate();
    Clear();
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && text[i] != ' ' && text[i] != '\t')
                item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    EndUpdate();
}

void TStrings::LoadFromStream(TStream& stream) {
    std::string text(static_cast<size_t>(stream.Size() - stream.Position()), '\0');
    stream.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
    const std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TStrings*>(source)) {
        if (other == this)
            return;
        BeginUpdate();
        Clear();
        AddStrings(*other);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i))
            return false;
    return true;
}

// ---- TStringList ---------------------------------------------------------------------------

TClass TStringList::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStringList>("TStringList").Build();
    return &info;
}

TStringList::~TStringList() {
    OnChange.Clear();
    OnChanging.Clear();
    Clear();
}

size_t TStringList::Check(int index) const {
    if (index < 0 || index >= Count())
        Error("List index out of bounds (%s)", index);
    return static_cast<size_t>(index);
}

std::string TStringList::Get(int index) const {
    return FItems[Check(index)].S;
}

void TStringList::Put(int index, const std::string& s) {
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted list");
    const size_t i = Check(index);
    Changing();
    FItems[i].S = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    return FItems[Check(index)].Object;
}

void TStringList::PutObject(int index, TObject* obj) {
    const size_t i = Check(index);
    Changing();
    FItems[i].Object = obj;
    Changed();
}

intptr_t TStringList::GetInteger(int index) const {
    return FItems[Check(index)].Integer;
}

void TStringList::PutInteger(int index, intptr_t value) {
    const size_t i = Check(index);
    Changing();
    FItems[i].Integer = value;
    Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
    return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

bool TStringList::Find(std::string_view s, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = CompareStrings(FItems[static_cast<size_t>(mid)].S, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::IndexOf(std::string_view s) const {
    if (!FSorted)
        return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

int TStringList::Add(const std::string& s) {
    int index = Count();
    if (FSorted && Find(s, index)) {
        if (FDuplicates == dupIgnore)
            return index;
        if (FDuplicates == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, s);
    return index;
}

void TStringList::Insert(int index, const std::string& s) {
    if (FSorted)
        throw EStringListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        Error("List index out of bounds (%s)", index);
    InsertItem(index, s);
}

void TStringList::InsertItem(int index, const std::string& s) {
    Changing();
    FItems.insert(FItems.begin() + index, Item{s, nullptr, 0});
    Changed();
}

void TStringList::Delete(int index) {
    const size_t i = Check(index);
    Changing();
    TObject* obj = FItems[i].Object;
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i));
    if (FOwnsObjects)
        TObject::Free(obj);
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty())
        return;
    Changing();
    std::vector<Item> items;
    items.swap(FItems);
    if (FOwnsObjects)
        for (Item& item : items)
            TObject::Free(item.Object);
    Changed();
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.S, b.S) < 0; });
    Changed();
}

void TStringList::SetSorted(bool value) {
    if (value && !FSorted)
        Sort();
    FSorted = value;
}

void TStringList::SetCaseSensitive(bool value) {
    if (value == FCaseSensitive)
        return;
    FCaseSensitive = value;
    if (FSorted)
        Sort();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

namespace {
const bool kRegistered = (RegisterClasses({TStringList::StaticClass()}), true);
}

// String lists: lines of 8-bit text, each with an attached object and an attached integer.
// TStrings is the interface controls expose (list-box items, memo lines); TStringList keeps
// the lines itself, compares them without regard to case by default and can stay sorted.
#pragma once

#include "Closure.h"
#include "Persistent.h"

#include <cstdint>
#include <string>
#include <vector>

class TStream;

class TStrings : public TPersistent {
    TW_DECLARE_CLASS(TStrings, TPersistent)

    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* obj);
    virtual intptr_t GetInteger(int index) const;
    virtual void PutInteger(int index, intptr_t value);
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int IndexOf(std::string_view s) const;
    virtual int Add(const std::string& s);

    std::string operator[](int index) const { return Get(index); }
    std::string Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    intptr_t Integers(int index) const { return GetInteger(index); }
    int AddObject(const std::string& s, TObject* obj);
    void InsertObject(int index, const std::string& s, TObject* obj);
    void AddStrings(const TStrings& other);
    void Exchange(int a, int b);
    void Move(int from, int to);
    int IndexOfObject(const TObject* obj) const;

    // "name=value" lines.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(std::string_view name) const;
    void SetValue(std::string_view name, const std::string& value);
    int IndexOfName(std::string_view name) const;

    // All lines joined by CR LF (each line ends with it); setting splits at CR, LF or CR LF.
    std::string Text() const;
    void SetText(std::string_view text);
    // Comma-separated, with double quotes around items that contain blanks, commas or quotes.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    void Assign(TPersistent* source) override;
    bool Equals(const TStrings& other) const;

protected:
    virtual void SetUpdateState(bool) {}
    virtual int CompareStrings(std::string_view a, std::string_view b) const;
    [[noreturn]] void Error(const char* message, int index) const;

private:
    int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
    TW_DECLARE_CLASS(TStringList, TStrings)

    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    intptr_t GetInteger(int index) const override;
    void PutInteger(int index, intptr_t value) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(std::string_view s) const override;
    int Add(const std::string& s) override;

    // Binary search of a sorted list; index is where s is or would be inserted.
    bool Find(std::string_view s, int& index) const;
    void Sort();
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates value) { FDuplicates = value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool value);
    // When set, the list frees its attached objects when lines are deleted or the list is.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool value) { FOwnsObjects = value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(std::string_view a, std::string_view b) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct Item {
        std::string S;
        TObject* Object = nullptr;
        intptr_t Integer = 0;
    };
    size_t Check(int index) const;
    void InsertItem(int index, const std::string& s);
    std::vector<Item> FItems;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    TDuplicates FDuplicates = dupIgnore;
};

// A range-checked list with the familiar Add/Insert/Delete/Remove/IndexOf interface.
#pragma once

#include "SysUtils.h"

#include <algorithm>
#include <vector>

template <class T>
class TList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    const T& operator[](int index) const { return FItems[Check(index)]; }
    T& operator[](int index) { return FItems[Check(index)]; }
    const T& Items(int index) const { return (*this)[index]; }
    const T& First() const { return (*this)[0]; }
    const T& Last() const { return (*this)[Count() - 1]; }

    int Add(const T& item) {
        FItems.push_back(item);
        return Count() - 1;
    }
    void Insert(int index, const T& item) {
        if (index < 0 || index > Count())
            Error(index);
        FItems.insert(FItems.begin() + index, item);
    }
    void Delete(int index) { FItems.erase(FItems.begin() + Check(index)); }
    int IndexOf(const T& item) const {
        auto it = std::find(FItems.begin(), FItems.end(), item);
        return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
    }
    // Removes the first occurrence; returns its index or -1.
    int Remove(const T& item) {
        const int index = IndexOf(item);
        if (index >= 0)
            Delete(index);
        return index;
    }
    // Removes the last occurrence; returns its index or -1.
    int RemoveLast(const T& item) {
        auto it = std::find(FItems.rbegin(), FItems.rend(), item);
        if (it == FItems.rend())
            return -1;
        const int index = static_cast<int>(FItems.rend() - it) - 1;
        Delete(index);
        return index;
    }
    T Extract(const T& item) {
        const int index = IndexOf(item);
        if (index < 0)
            return T{};
        T value = FItems[static_cast<size_t>(index)];
        Delete(index);
        return value;
    }
    void Exchange(int a, int b) { std::swap(FItems[Check(a)], FItems[Check(b)]); }
    void Move(int from, int to) {
        T item = FItems[Check(from)];
        Delete(from);
        Insert(to, item);
    }
    void Clear() { FItems.clear(); }
    template <class Less>
    void Sort(Less less) {
        std::stable_sort(FItems.begin(), FItems.end(), less);
    }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    size_t Check(int index) const {
        if (index < 0 || index >= Count())
            Error(index);
        return static_cast<size_t>(index);
    }
    [[noreturn]] static void Error(int index) {
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    }
    std::vector<T> FItems;
};

// Events as closures: an object and one of its member functions. A closure can be tested
// for being assigned, cleared, compared with another and swapped at run time, and it can
// travel through the published-property machinery as a type-checked TMethod.
#pragma once

#include <array>
#include <cstring>
#include <typeinfo>
#include <utility>

// A closure with its signature erased; what event properties are read and written as.
struct TMethod {
    using CodeBytes = std::array<unsigned char, 16>;
    void* Data = nullptr;
    void (*Invoker)() = nullptr;
    CodeBytes Code{};
    const std::type_info* Signature = nullptr;

    bool Assigned() const { return Invoker != nullptr; }
    bool operator==(const TMethod& o) const {
        return Data == o.Data && Invoker == o.Invoker && Code == o.Code;
    }
};

template <class Sig>
class TClosure;

template <class R, class... A>
class TClosure<R(A...)> {
public:
    TClosure() = default;
    // Bound through the class that declares the method, so that the same object and method
    // compare equal whatever static type the object was named by.
    template <class C, class M>
    TClosure(C* obj, R (M::*fn)(A...)) {
        static_assert(sizeof(fn) <= sizeof(TMethod::CodeBytes), "member function pointer too large");
        M* target = obj;
        FData = target;
        std::memcpy(FCode.data(), &fn, sizeof fn);
        FInvoke = &Invoke<M>;
    }
    // Rebuilds a closure from an erased one; an empty or mismatching method gives an empty one.
    static TClosure FromMethod(const TMethod& m) {
        TClosure c;
        if (m.Assigned() && m.Signature && *m.Signature == typeid(R(A...))) {
            c.FData = m.Data;
            c.FCode = m.Code;
            c.FInvoke = reinterpret_cast<Invoker>(m.Invoker);
        }
        return c;
    }
    TMethod ToMethod() const {
        TMethod m;
        if (FInvoke) {
            m.Data = FData;
            m.Invoker = reinterpret_cast<void (*)()>(FInvoke);
            m.Code = FCode;
            m.Signature = &typeid(R(A...));
        }
        return m;
    }
    static const std::type_info& Signature() { return typeid(R(A...)); }

    bool Assigned() const { return FInvoke != nullptr; }
    explicit operator bool() const { return Assigned(); }
    void Clear() { *this = TClosure(); }
    void* Data() const { return FData; }
    R operator()(A... args) const { return FInvoke(FData, FCode, std::forward<A>(args)...); }
    bool operator==(const TClosure& o) const {
        return FData == o.FData && FInvoke == o.FInvoke && FCode == o.FCode;
    }
    void Swap(TClosure& o) noexcept {
        std::swap(FData, o.FData);
        std::swap(FInvoke, o.FInvoke);
        std::swap(FCode, o.FCode);
    }

private:
    using Invoker = R (*)(void*, const TMethod::CodeBytes&, A...);
    template <class C>
    static R Invoke(void* data, const TMethod::CodeBytes& code, A... args) {
        R (C::*fn)(A...);
        std::memcpy(&fn, code.data(), sizeof fn);
        return (static_cast<C*>(data)->*fn)(std::forward<A>(args)...);
    }
    void* FData = nullptr;
    Invoker FInvoke = nullptr;
    TMethod::CodeBytes FCode{};
};

class TObject;
using TNotifyEvent = TClosure<void(TObject* Sender)>;

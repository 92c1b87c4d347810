// Run-time type information: class infos (name, parent, factory, published properties,
// published methods and fields), the class registry, and reading and writing published
// properties by name. Names compare without regard to case and are looked up through the
// class chain; each class's properties are listed in declaration order after its ancestors'.
#pragma once

#include "Closure.h"
#include "Object.h"
#include "SysUtils.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

class TStream;
class TComponent;
class TCollection;
class TCollectionItem;

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkEnumeration,
    tkSet,
    tkLString,
    tkWString,
    tkClass,
    tkMethod,
    tkBinary
};

// Value names of an enumeration in declaration order (Boolean is one: "False", "True").
struct TEnumType {
    std::string Name;
    std::vector<std::string> Names;
    int IndexOf(std::string_view name) const; // any case; -1 when unknown
};
extern const TEnumType BooleanType;

// Names for particular values of an integer type (colours such as "clWhite").
struct TIdentMap {
    std::string TypeName;
    std::vector<std::pair<std::string, int64_t>> Entries;
    bool IdentToInt(std::string_view ident, int64_t& value) const;
    bool IntToIdent(int64_t value, std::string& ident) const;
};

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkUnknown;
    std::string TypeName;
    const TEnumType* EnumType = nullptr; // enumerations, Booleans and sets
    const TIdentMap* Idents = nullptr;   // integers with named values
    TClass (*PropClassOf)() = nullptr;   // object properties (resolved late: classes may refer to themselves)
    const std::type_info* Signature = nullptr; // events

    std::function<int64_t(TObject&)> GetOrd;
    std::function<void(TObject&, int64_t)> SetOrd;
    std::function<std::string(TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<std::wstring(TObject&)> GetWStr;
    std::function<void(TObject&, const std::wstring&)> SetWStr;
    std::function<TObject*(TObject&)> GetObj;
    std::function<void(TObject&, TObject*)> SetObj;
    std::function<TMethod(TObject&)> GetMethod;
    std::function<void(TObject&, const TMethod&)> SetMethod;
    std::function<void(TObject&, TStream&)> ReadData;  // binary: the component's own reader
    std::function<void(TObject&, TStream&)> WriteData; // binary: the component's own writer

    bool Writable() const;
    TClass PropClass() const { return PropClassOf ? PropClassOf() : nullptr; }
};

// A published method: event handlers bound by name when a form description is read.
struct TMethodEntry {
    std::string Name;
    const std::type_info* Signature = nullptr;
    std::function<TMethod(TObject&)> Bind;
};

// A published field: the reader stores each component it creates in the root's field of
// the same name.
struct TFieldEntry {
    std::string Name;
    TClass (*FieldClassOf)() = nullptr;
    std::function<void(TObject&, TObject*)> Set;
    TClass FieldClass() const { return FieldClassOf(); }
};

class TClassInfo {
public:
    std::string Name;
    TClass Parent = nullptr;
    // Constructors: components take their owner, collection items their collection. None
    // for abstract classes.
    TComponent* (*CreateComponent)(TComponent* owner) = nullptr;
    TCollectionItem* (*CreateItem)(TCollection* collection) = nullptr;
    std::vector<TPropInfo> Props;
    std::vector<TMethodEntry> Methods;
    std::vector<TFieldEntry> Fields;

    bool InheritsFrom(TClass ancestor) const;
    bool InheritsFrom(std::string_view className) const;
    const TPropInfo* FindProp(std::string_view name) const;
    const TMethodEntry* FindMethod(std::string_view name) const;
    const TFieldEntry* FindField(std::string_view name) const;
    // Published properties, ancestors' first, each class's in declaration order; a property
    // republished by a descendant keeps its place and takes the descendant's accessors.
    std::vector<const TPropInfo*> PropList() const;
};

// Class registry: the reader creates components by registered class name.
// (Plural on purpose: windows.h makes RegisterClass a macro.)
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass GetClass(std::string_view name);  // nullptr when unknown
TClass FindClass(std::string_view name); // raises EClassNotFound when unknown

// Property access by name. Lookups of a missing object or property never raise: they give
// nullptr / tkUnknown. Reading or writing a missing property, or one of another kind,
// raises EPropertyError.
const TPropInfo* GetPropInfo(TClass cls, std::string_view name);
const TPropInfo* GetPropInfo(const TObject* obj, std::string_view name);
TTypeKind PropType(const TObject* obj, std::string_view name);
bool IsPublishedProp(const TObject* obj, std::string_view name);

int64_t GetOrdProp(TObject& obj, std::string_view name);
void SetOrdProp(TObject& obj, std::string_view name, int64_t value);
std::string GetEnumProp(TObject& obj, std::string_view name);
void SetEnumProp(TObject& obj, std::string_view name, std::string_view value);
std::string GetSetProp(TObject& obj, std::string_view name, bool brackets = false);
void SetSetProp(TObject& obj, std::string_view name, std::string_view value);
std::string GetStrProp(TObject& obj, std::string_view name);
void SetStrProp(TObject& obj, std::string_view name, const std::string& value);
std::wstring GetWideStrProp(TObject& obj, std::string_view name);
void SetWideStrProp(TObject& obj, std::string_view name, const std::wstring& value);
TObject* GetObjectProp(TObject& obj, std::string_view name, TClass minClass = nullptr);
void SetObjectProp(TObject& obj, std::string_view name, TObject* value);
TMethod GetMethodProp(TObject& obj, std::string_view name);
void SetMethodProp(TObject& obj, std::string_view name, const TMethod& value);
// Any property as text: integers in decimal, enumerations by value name, sets as
// "a,b", strings as they are (wide strings converted to 8-bit text).
std::string GetPropValue(TObject& obj, std::string_view name);
// Sets a property from text: decimal or a named value for integers, a value name for
// enumerations, "[a,b]" or "a,b" for sets, the text itself for strings.
void SetPropValue(TObject& obj, std::string_view name, std::string_view value);

// Set text helpers shared by the reader and the by-name access.
std::string SetToString(const TEnumType& type, uint32_t bits, bool brackets);
uint32_t StringToSet(const TEnumType& type, std::string_view text); // raises EPropertyError

// Defines a class's published interface in one table. Used in a class's StaticClass():
//   static const TClassInfo info = TClassBuilder<TButton>("TButton")
//       .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
//       .Event<TNotifyEvent>("OnClick", &TButton::FOnClick)
//       .Build();
// Getters and setters are member functions (of the class or an ancestor) or fields.
template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(std::string name) {
        FInfo.Name = std::move(name);
        if constexpr (!std::is_same_v<C, TObject>)
            FInfo.Parent = C::inherited::StaticClass();
        SetFactory();
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Int(std::string name, G get, S set = nullptr, const TIdentMap* idents = nullptr) {
        TPropInfo& p = Add(std::move(name), tkInteger, idents ? idents->TypeName : "Integer");
        p.Idents = idents;
        p.GetOrd = [get](TObject& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject& o, int64_t v) { Assign(o, set, v); };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Enum(std::string name, const TEnumType& type, G get, S set = nullptr) {
        TPropInfo& p = Add(std::move(name), tkEnumeration, type.Name);
        p.EnumType = &type;
        p.GetOrd = [get](TObject& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject& o, int64_t v) { Assign(o, set, v); };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Bool(std::string name, G get, S set = nullptr) {
        return Enum(std::move(name), BooleanType, get, set);
    }
    // Sets are read and written as their bits.
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Set(std::string name, const TEnumType& type, G get, S set = nullptr) {
        TPropInfo& p = Add(std::move(name), tkSet, "set of " + type.Name);
        p.EnumType = &type;
        p.GetOrd = [get](TObject& o) { return static_cast<int64_t>(Bits(std::invoke(get, Self(o)))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetOrd = [set](TObject& o, int64_t v) { Assign(o, set, static_cast<uint32_t>(v)); };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& Str(std::string name, G get, S set = nullptr) {
        TPropInfo& p = Add(std::move(name), tkLString, "string");
        p.GetStr = [get](TObject& o) { return std::string(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetStr = [set](TObject& o, const std::string& v) { Assign(o, set, v); };
        return *this;
    }
    template <class G, class S = std::nullptr_t>
    TClassBuilder& WStr(std::string name, G get, S set = nullptr) {
        TPropInfo& p = Add(std::move(name), tkWString, "WideString");
        p.GetWStr = [get](TObject& o) { return std::wstring(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetWStr = [set](TObject& o, const std::wstring& v) { Assign(o, set, v); };
        return *this;
    }
    // An object property; the setter receives an object of the property's class (or null).
    template <class T, class G, class S = std::nullptr_t>
    TClassBuilder& Obj(std::string name, G get, S set = nullptr) {
        TPropInfo& p = Add(std::move(name), tkClass, "");
        p.PropClassOf = &T::StaticClass;
        p.GetObj = [get](TObject& o) -> TObject* { return std::invoke(get, Self(o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetObj = [set](TObject& o, TObject* v) { Assign(o, set, static_cast<T*>(v)); };
        return *this;
    }
    template <class E, class Field>
    TClassBuilder& Event(std::string name, Field field) {
        TPropInfo& p = Add(std::move(name), tkMethod, "");
        p.Signature = &E::Signature();
        p.GetMethod = [field](TObject& o) { return std::invoke(field, Self(o)).ToMethod(); };
        p.SetMethod = [field](TObject& o, const TMethod& m) {
            std::invoke(field, Self(o)) = E::FromMethod(m);
        };
        return *this;
    }
    template <class Reader, class Writer>
    TClassBuilder& Binary(std::string name, Reader read, Writer write) {
        TPropInfo& p = Add(std::move(name), tkBinary, "binary");
        p.ReadData = [read](TObject& o, TStream& s) { std::invoke(read, Self(o), s); };
        p.WriteData = [write](TObject& o, TStream& s) { std::invoke(write, Self(o), s); };
        return *this;
    }
    template <class E, class M>
    TClassBuilder& Method(std::string name, M method) {
        FInfo.Methods.push_back({std::move(name), &E::Signature(),
                                 [method](TObject& o) { return E(&Self(o), method).ToMethod(); }});
        return *this;
    }
    template <class T>
    TClassBuilder& Field(std::string name, T* C::*field) {
        FInfo.Fields.push_back({std::move(name), &T::StaticClass,
                                [field](TObject& o, TObject* v) { Self(o).*field = dynamic_cast<T*>(v); }});
        return *this;
    }
    TClassInfo Build() { return std::move(FInfo); }

private:
    static C& Self(TObject& o) { return static_cast<C&>(o); }
    template <class T, class V>
    static T Convert(const V& value) {
        if constexpr (requires { T::FromBits(uint32_t{}); })
            return T::FromBits(static_cast<uint32_t>(value));
        else
            return static_cast<T>(value);
    }
    template <class S, class V>
    static void Assign(TObject& o, S set, const V& value) {
        if constexpr (std::is_member_object_pointer_v<S>) {
            using F = std::remove_cvref_t<decltype(Self(o).*set)>;
            Self(o).*set = Convert<F>(value);
        } else if constexpr (std::is_member_function_pointer_v<S>) {
            using Arg = typename SetterArg<S>::type;
            std::invoke(set, Self(o), Convert<Arg>(value));
        } else {
            std::invoke(set, Self(o), value);
        }
    }
    template <class S>
    struct SetterArg;
    template <class R, class K, class Arg>
    struct SetterArg<R (K::*)(Arg)> {
        using type = std::remove_cvref_t<Arg>;
    };
    template <class V>
    static uint32_t Bits(const V& v) {
        if constexpr (std::is_integral_v<V>)
            return static_cast<uint32_t>(v);
        else
            return v.Bits();
    }
    TPropInfo& Add(std::string name, TTypeKind kind, std::string typeName) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.TypeName = std::move(typeName);
        FInfo.Props.push_back(std::move(p));
        return FInfo.Props.back();
    }
    void SetFactory() {
        if constexpr (!std::is_abstract_v<C>) {
            if constexpr (std::is_constructible_v<C, TCollection*> &&
                          !std::is_constructible_v<C, TComponent*>)
                FInfo.CreateItem = [](TCollection* c) -> TCollectionItem* { return new C(c); };
            else if constexpr (std::is_constructible_v<C, TComponent*>)
                FInfo.CreateComponent = [](TComponent* owner) -> TComponent* { return new C(owner); };
        }
    }
    TClassInfo FInfo;
};

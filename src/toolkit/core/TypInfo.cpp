#include "TypInfo.h"

#include <algorithm>
#include <map>

const TEnumType BooleanType{"Boolean", {"False", "True"}};

int TEnumType::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], name))
            return static_cast<int>(i);
    return -1;
}

bool TIdentMap::IdentToInt(std::string_view ident, int64_t& value) const {
    for (const auto& [name, v] : Entries)
        if (SameText(name, ident)) {
            value = v;
            return true;
        }
    return false;
}

bool TIdentMap::IntToIdent(int64_t value, std::string& ident) const {
    for (const auto& [name, v] : Entries)
        if (v == value) {
            ident = name;
            return true;
        }
    return false;
}

bool TPropInfo::Writable() const {
    return SetOrd || SetStr || SetWStr || SetObj || SetMethod || ReadData;
}

// ---- TObject -------------------------------------------------------------------------------

TClass TObject::StaticClass() {
    static const TClassInfo info = TClassBuilder<TObject>("TObject").Build();
    return &info;
}

std::string TObject::ClassName() const {
    return ClassType()->Name;
}
bool TObject::ClassNameIs(std::string_view name) const {
    return SameText(ClassType()->Name, name);
}
bool TObject::InheritsFrom(TClass cls) const {
    return ClassType()->InheritsFrom(cls);
}
bool TObject::InheritsFrom(std::string_view className) const {
    return ClassType()->InheritsFrom(className);
}

void TObject::Free(TObject* obj) {
    if (obj) {
        obj->BeforeDestruction();
        delete obj;
    }
}

// ---- TClassInfo ----------------------------------------------------------------------------

bool TClassInfo::InheritsFrom(TClass ancestor) const {
    for (TClass c = this; c; c = c->Parent)
        if (c == ancestor)
            return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (TClass c = this; c; c = c->Parent)
        if (SameText(c->Name, className))
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view name) const {
    for (TClass c = this; c; c = c->Parent)
        for (const TPropInfo& p : c->Props)
            if (SameText(p.Name, name))
                return &p;
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const {
    for (TClass c = this; c; c = c->Parent)
        for (const TMethodEntry& m : c->Methods)
            if (SameText(m.Name, name))
                return &m;
    return nullptr;
}

const TFieldEntry* TClassInfo::FindField(std::string_view name) const {
    for (TClass c = this; c; c = c->Parent)
        for (const TFieldEntry& f : c->Fields)
            if (SameText(f.Name, name))
                return &f;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::PropList() const {
    std::vector<TClass> chain;
    for (TClass c = this; c; c = c->Parent)
        chain.insert(chain.begin(), c);
    std::vector<const TPropInfo*> list;
    for (TClass c : chain)
        for (const TPropInfo& p : c->Props) {
            auto same = std::find_if(list.begin(), list.end(),
                                     [&](const TPropInfo* q) { return SameText(q->Name, p.Name); });
            if (same != list.end())
                *same = &p;
            else
                list.push_back(&p);
        }
    return list;
}

// ---- registry ------------------------------------------------------------------------------

namespace {

struct LessText {
    bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

std::map<std::string, TClass, LessText>& Registry() {
    static std::map<std::string, TClass, LessText> registry;
    return registry;
}

const TPropInfo& RequireProp(TObject& obj, std::string_view name) {
    const TPropInfo* p = GetPropInfo(&obj, name);
    if (!p)
        throw EPropertyError(FormatMsg("Property %s does not exist", {name}));
    return *p;
}

[[noreturn]] void WrongKind(const TPropInfo& p) {
    throw EPropertyError(FormatMsg("Property %s is of type %s", {p.Name, p.TypeName}));
}

[[noreturn]] void ReadOnly(const TPropInfo& p) {
    throw EPropertyError(FormatMsg("Property %s is read-only", {p.Name}));
}

bool IsOrdinal(TTypeKind k) {
    return k == tkInteger || k == tkEnumeration || k == tkSet;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

void RegisterClasses(std::initializer_list<TClass> classes) {
    for (TClass cls : classes) {
        auto [it, added] = Registry().emplace(cls->Name, cls);
        if (!added && it->second != cls)
            throw EComponentError(FormatMsg("A class named %s already exists", {cls->Name}));
    }
}

void UnRegisterClass(TClass cls) {
    auto it = Registry().find(cls->Name);
    if (it != Registry().end() && it->second == cls)
        Registry().erase(it);
}

TClass GetClass(std::string_view name) {
    auto it = Registry().find(std::string(name));
    return it == Registry().end() ? nullptr : it->second;
}

TClass FindClass(std::string_view name) {
    TClass cls = GetClass(name);
    if (!cls)
        throw EClassNotFound(FormatMsg("Class %s not found", {name}));
    return cls;
}

// ---- by-name access ------------------------------------------------------------------------

const TPropInfo* GetPropInfo(TClass cls, std::string_view name) {
    return cls ? cls->FindProp(name) : nullptr;
}

const TPropInfo* GetPropInfo(const TObject* obj, std::string_view name) {
    return obj ? GetPropInfo(obj->ClassType(), name) : nullptr;
}

TTypeKind PropType(const TObject* obj, std::string_view name) {
    const TPropInfo* p = GetPropInfo(obj, name);
    return p ? p->Kind : tkUnknown;
}

bool IsPublishedProp(const TObject* obj, std::string_view name) {
    return GetPropInfo(obj, name) != nullptr;
}

int64_t GetOrdProp(TObject& obj, std::string_view name) {
    const TPropInfo& p = RequireProp(obj, name);
    if (!IsOrdinal(p.Kind))
        WrongKind(p);
    return p.GetOrd(obj);
}

void SetOrdProp(TObject& obj, std::string_view name, int64_t value) {
    const TPropInfo& p = RequireProp(obj, name);
    if (!IsOrdinal(p.Kind))
        WrongKind(p);
    if (!p.SetOrd)
        ReadOnly(p);
    if (p.Kind == tkEnumeration && (value < 0 || value >= static_cast<int64_t>(p.EnumType->Names.size())))
        throw EPropertyError(FormatMsg("Invalid property value for %s", {p.Name}));
    p.SetOrd(obj, value);
}

std::string GetEnumProp(TObject& obj, std::string_view name) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkEnumeration)
        WrongKind(p);
    const int64_t v = p.GetOrd(obj);
    if (v < 0 || v >= static_cast<int64_t>(p.EnumType->Names.size()))
        return IntToStr(v);
    return p.EnumType->Names[static_cast<size_t>(v)];
}

void SetEnumProp(TObject& obj, std::string_view name, std::string_view value) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkEnumeration)
        WrongKind(p);
    const int index = p.EnumType->IndexOf(Trim(value));
    if (index < 0)
        throw EPropertyError(FormatMsg("Invalid property value '%s' for %s", {value, p.Name}));
    SetOrdProp(obj, name, index);
}

std::string SetToString(const TEnumType& type, uint32_t bits, bool brackets) {
    std::string out;
    for (size_t i = 0; i < type.Names.size() && i < 32; ++i)
        if (bits & (uint32_t{1} << i)) {
            if (!out.empty())
                out += ',';
            out += type.Names[i];
        }
    return brackets ? "[" + out + "]" : out;
}

uint32_t StringToSet(const TEnumType& type, std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '[') {
        if (text.back() != ']')
            throw EPropertyError(FormatMsg("Invalid set value '%s'", {text}));
        text = text.substr(1, text.size() - 2);
    }
    uint32_t bits = 0;
    while (!Trim(text).empty()) {
        const size_t comma = text.find(',');
        const std::string_view member = Trim(text.substr(0, comma));
        const int index = type.IndexOf(member);
        if (index < 0 || index >= 32)
            throw EPropertyError(FormatMsg("'%s' is not a member of %s", {member, type.Name}));
        bits |= uint32_t{1} << index;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return bits;
}

std::string GetSetProp(TObject& obj, std::string_view name, bool brackets) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkSet)
        WrongKind(p);
    return SetToString(*p.EnumType, static_cast<uint32_t>(p.GetOrd(obj)), brackets);
}

void SetSetProp(TObject& obj, std::string_view name, std::string_view value) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkSet)
        WrongKind(p);
    if (!p.SetOrd)
        ReadOnly(p);
    p.SetOrd(obj, StringToSet(*p.EnumType, value));
}

std::string GetStrProp(TObject& obj, std::string_view name) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind == tkWString)
        return WideToAnsi(p.GetWStr(obj));
    if (p.Kind != tkLString)
        WrongKind(p);
    return p.GetStr(obj);
}

void SetStrProp(TObject& obj, std::string_view name, const std::string& value) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind == tkWString) {
        SetWideStrProp(obj, name, AnsiToWide(value));
        return;
    }
    if (p.Kind != tkLString)
        WrongKind(p);
    if (!p.SetStr)
        ReadOnly(p);
    p.SetStr(obj, value);
}

std::wstring GetWideStrProp(TObject& obj, std::string_view name) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind == tkLString)
        return AnsiToWide(p.GetStr(obj));
    if (p.Kind != tkWString)
        WrongKind(p);
    return p.GetWStr(obj);
}

void SetWideStrProp(TObject& obj, std::string_view name, const std::wstring& value) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind == tkLString) {
        SetStrProp(obj, name, WideToAnsi(value));
        return;
    }
    if (p.Kind != tkWString)
        WrongKind(p);
    if (!p.SetWStr)
        ReadOnly(p);
    p.SetWStr(obj, value);
}

TObject* GetObjectProp(TObject& obj, std::string_view name, TClass minClass) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkClass)
        WrongKind(p);
    TObject* value = p.GetObj(obj);
    if (value && minClass && !value->InheritsFrom(minClass))
        return nullptr;
    return value;
}

void SetObjectProp(TObject& obj, std::string_view name, TObject* value) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkClass)
        WrongKind(p);
    if (!p.SetObj)
        ReadOnly(p);
    if (value && !value->InheritsFrom(p.PropClass()))
        throw EPropertyError(
            FormatMsg("Property %s needs a %s, not a %s", {p.Name, p.PropClass()->Name, value->ClassName()}));
    p.SetObj(obj, value);
}

TMethod GetMethodProp(TObject& obj, std::string_view name) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkMethod)
        WrongKind(p);
    return p.GetMethod(obj);
}

void SetMethodProp(TObject& obj, std::string_view name, const TMethod& value) {
    const TPropInfo& p = RequireProp(obj, name);
    if (p.Kind != tkMethod)
        WrongKind(p);
    if (value.Assigned() && (!value.Signature || *value.Signature != *p.Signature))
        throw EPropertyError(FormatMsg("Method of incompatible type for event %s", {p.Name}));
    p.SetMethod(obj, value);
}

std::string GetPropValue(TObject& obj, std::string_view name) {
    const TPropInfo& p = RequireProp(obj, name);
    switch (p.Kind) {
    case tkInteger:
        return IntToStr(p.GetOrd(obj));
    case tkEnumeration:
        return GetEnumProp(obj, name);
    case tkSet:
        return GetSetProp(obj, name);
    case tkLString:
    case tkWString:
        return GetStrProp(obj, name);
    default:
        WrongKind(p);
    }
}

void SetPropValue(TObject& obj, std::string_view name, std::string_view value) {
    const TPropInfo& p = RequireProp(obj, name);
    switch (p.Kind) {
    case tkInteger: {
        int64_t v = 0;
        if (!(p.Idents && p.Idents->IdentToInt(Trim(value), v)) && !TryStrToInt64(value, v))
            throw EPropertyError(FormatMsg("Invalid property value '%s' for %s", {value, p.Name}));
        SetOrdProp(obj, name, v);
        return;
    }
    case tkEnumeration:
        SetEnumProp(obj, name, value);
        return;
    case tkSet:
        SetSetProp(obj, name, value);
        return;
    case tkLString:
    case tkWString:
        SetStrProp(obj, name, std::string(value));
        return;
    default:
        WrongKind(p);
    }
}

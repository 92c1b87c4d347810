#include "FormReader.h"

#include "Collection.h"
#include "Streams.h"
#include "Strings.h"

#include <vector>

namespace {

class Reader {
public:
    Reader(TComponent& root, std::string_view source) : FRoot(root), FSource(source) {}

    void ReadRoot(const TFormObject& desc) {
        if (!SameText(desc.ClassName, FRoot.ClassName()) &&
            !FRoot.InheritsFrom(std::string_view(desc.ClassName)))
            throw EReadError(FormatMsg("Error reading %s: the description is for class %s, not %s",
                                       {FSource, desc.ClassName, FRoot.ClassName()}));
        FRootName = desc.Name.empty() ? FRoot.Name() : desc.Name;
        Begin(FRoot);
        Guard(FRoot, desc.Line, "Name", [&] { FRoot.SetName(UniqueRootName(desc.Name)); });
        ReadBody(FRoot, desc);
        ResolveReferences();
        // Everything is read: only now does each component see its final state.
        for (TComponent* c : FLoaded)
            c->SetLoadingState(false);
        for (TComponent* c : FLoaded)
            c->Loaded();
    }

private:
    struct Fixup {
        TObject* Target;
        const TPropInfo* Prop;
        std::string Reference;
        std::string Context;
        int Line;
    };

    // A second instance of the same form under one owner gets "Name_1", "Name_2", ...
    std::string UniqueRootName(const std::string& name) const {
        TComponent* owner = FRoot.Owner();
        if (!owner || name.empty())
            return name;
        std::string candidate = name;
        for (int i = 1;; ++i) {
            TComponent* existing = owner->FindComponent(candidate);
            if (!existing || existing == &FRoot)
                return candidate;
            candidate = name + "_" + IntToStr(i);
        }
    }

    void Begin(TComponent& component) {
        component.SetLoadingState(true);
        FLoaded.push_back(&component);
    }

    std::string ComponentPath(const TComponent& c) const {
        if (&c == &FRoot)
            return FRootName;
        return FRootName + "." + (c.Name().empty() ? c.ClassName() : c.Name());
    }

    template <class F>
    void Guard(const std::string& context, int line, std::string_view prop, F&& action) {
        try {
            action();
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            throw EReadError(FormatMsg("Error reading %s.%s (%s, line %s): %s",
                                       {context, prop, FSource, IntToStr(line), e.Message()}));
        }
    }
    template <class F>
    void Guard(TComponent& c, int line, std::string_view prop, F&& action) {
        Guard(ComponentPath(c), line, prop, std::forward<F>(action));
    }

    void ReadBody(TComponent& component, const TFormObject& desc) {
        const std::string context = ComponentPath(component);
        for (const TFormProperty& p : desc.Props)
            Guard(context, p.Line, p.Path, [&] { SetProperty(component, p, context); });
        for (const TFormObject& child : desc.Children)
            ReadChild(component, child);
    }

    void ReadChild(TComponent& parent, const TFormObject& desc) {
        const std::string context = FRootName + "." + (desc.Name.empty() ? desc.ClassName : desc.Name);
        TComponent* child = nullptr;
        Guard(context, desc.Line, "ClassName", [&] {
            TClass cls = FindClass(desc.ClassName);
            if (!cls->CreateComponent)
                throw EReadError(FormatMsg("Error reading %s (%s, line %s): class %s cannot be created",
                                           {context, FSource, IntToStr(desc.Line), desc.ClassName}));
            child = cls->CreateComponent(&FRoot);
        });
        Begin(*child);
        child->AfterConstruction();
        Guard(context, desc.Line, "Name", [&] {
            child->SetName(desc.Name);
            if (&parent != &FRoot || child->HasParent())
                child->SetParentComponent(&parent);
            BindField(*child);
        });
        ReadBody(*child, desc);
    }

    void BindField(TComponent& child) {
        if (child.Name().empty())
            return;
        const TFieldEntry* field = FRoot.ClassType()->FindField(child.Name());
        if (!field)
            return;
        if (!child.InheritsFrom(field->FieldClass()))
            throw EReadError(FormatMsg("Field %s is a %s, not a %s",
                                       {field->Name, field->FieldClass()->Name, child.ClassName()}));
        field->Set(FRoot, &child);
    }

    // Walks "A.B.C" down object properties; returns the object that holds the last name.
    TObject* ResolvePath(TObject& start, std::string_view path, std::string& last) {
        TObject* obj = &start;
        size_t dot;
        while ((dot = path.find('.')) != std::string_view::npos) {
            const std::string_view part = path.substr(0, dot);
            const TPropInfo* p = GetPropInfo(obj, part);
            if (!p)
                throw EPropertyError(FormatMsg("Property %s does not exist", {part}));
            if (p->Kind != tkClass)
                throw EPropertyError(FormatMsg("Property %s is not an object", {part}));
            obj = p->GetObj(*obj);
            if (!obj)
                throw EPropertyError(FormatMsg("Property %s holds no object", {part}));
            path.remove_prefix(dot + 1);
        }
        last = std::string(path);
        return obj;
    }

    void SetProperty(TObject& target, const TFormProperty& prop, const std::string& context) {
        std::string name;
        TObject* obj = ResolvePath(target, prop.Path, name);
        const TPropInfo* p = GetPropInfo(obj, name);
        if (!p) {
            // String lists store their lines as the pseudo-property "Strings".
            if (auto* strings = dynamic_cast<TStrings*>(obj); strings && SameText(name, "Strings")) {
                SetLines(*strings, prop.Value);
                return;
            }
            throw EPropertyError(FormatMsg("Property %s does not exist", {name}));
        }
        if (!p->Writable() && p->Kind != tkClass)
            throw EPropertyError(FormatMsg("Property %s is read-only", {p->Name}));
        SetValue(*obj, *p, prop.Value, context + "." + prop.Path);
    }

    [[noreturn]] static void Invalid(const TPropInfo& p, std::string_view why) {
        throw EPropertyError(
            FormatMsg("Invalid value for property %s of type %s: %s", {p.Name, p.TypeName, why}));
    }

    static const char* KindName(const TFormValue& v) {
        switch (v.Type) {
        case TFormValue::vaInteger:
            return "an integer";
        case TFormValue::vaString:
            return "a string";
        case TFormValue::vaIdent:
            return "an identifier";
        case TFormValue::vaSet:
            return "a set";
        case TFormValue::vaList:
            return "a list";
        case TFormValue::vaCollection:
            return "a collection";
        case TFormValue::vaBinary:
            return "binary data";
        }
        return "a value";
    }

    void SetValue(TObject& obj, const TPropInfo& p, const TFormValue& v, const std::string& context) {
        const bool settable = p.Writable();
        switch (p.Kind) {
        case tkInteger: {
            int64_t value = v.Int;
            if (v.Type == TFormValue::vaIdent) {
                if (!p.Idents || !p.Idents->IdentToInt(v.Ident, value))
                    Invalid(p, FormatMsg("unknown identifier %s", {v.Ident}));
            } else if (v.Type != TFormValue::vaInteger) {
                Invalid(p, KindName(v));
            }
            p.SetOrd(obj, value);
            return;
        }
        case tkEnumeration: {
            if (v.Type != TFormValue::vaIdent)
                Invalid(p, KindName(v));
            const int index = p.EnumType->IndexOf(v.Ident);
            if (index < 0)
                Invalid(p, FormatMsg("%s is not a value of %s", {v.Ident, p.EnumType->Name}));
            p.SetOrd(obj, index);
            return;
        }
        case tkSet: {
            if (v.Type != TFormValue::vaSet)
                Invalid(p, KindName(v));
            uint32_t bits = 0;
            for (const std::string& m : v.Members) {
                const int index = p.EnumType->IndexOf(m);
                if (index < 0 || index >= 32)
                    Invalid(p, FormatMsg("%s is not a member of %s", {m, p.EnumType->Name}));
                bits |= uint32_t{1} << index;
            }
            p.SetOrd(obj, bits);
            return;
        }
        case tkLString:
            if (v.Type != TFormValue::vaString)
                Invalid(p, KindName(v));
            p.SetStr(obj, WideToAnsi(v.Str));
            return;
        case tkWString:
            if (v.Type != TFormValue::vaString)
                Invalid(p, KindName(v));
            p.SetWStr(obj, v.Str);
            return;
        case tkClass:
            SetObjectValue(obj, p, v, context, settable);
            return;
        case tkMethod:
            SetEvent(obj, p, v);
            return;
        case tkBinary: {
            if (v.Type != TFormValue::vaBinary)
                Invalid(p, KindName(v));
            TMemoryStream data;
            data.WriteBuffer(v.Bytes.data(), static_cast<int64_t>(v.Bytes.size()));
            data.SetPosition(0);
            p.ReadData(obj, data);
            return;
        }
        case tkUnknown:
            break;
        }
        Invalid(p, "unsupported property kind");
    }

    void SetObjectValue(TObject& obj, const TPropInfo& p, const TFormValue& v, const std::string& context,
                        bool settable) {
        if (v.Type == TFormValue::vaIdent) {
            if (!settable)
                throw EPropertyError(FormatMsg("Property %s is read-only", {p.Name}));
            if (SameText(v.Ident, "nil")) {
                p.SetObj(obj, nullptr);
                return;
            }
            FFixups.push_back({&obj, &p, v.Ident, context, v.Line}); // may name a later component
            return;
        }
        TObject* current = p.GetObj(obj);
        if (v.Type == TFormValue::vaCollection) {
            auto* collection = dynamic_cast<TCollection*>(current);
            if (!collection)
                Invalid(p, "not a collection");
            ReadCollection(*collection, v, context);
            return;
        }
        if (v.Type == TFormValue::vaList) {
            auto* strings = dynamic_cast<TStrings*>(current);
            if (!strings)
                Invalid(p, "not a string list");
            SetLines(*strings, v);
            return;
        }
        Invalid(p, KindName(v));
    }

    void ReadCollection(TCollection& collection, const TFormValue& v, const std::string& context) {
        collection.BeginUpdate();
        collection.Clear();
        for (size_t i = 0; i < v.Items.size(); ++i) {
            TCollectionItem* item = collection.Add();
            const std::string itemContext = context + "[" + IntToStr(static_cast<int64_t>(i)) + "]";
            for (const TFormProperty& prop : v.Items[i].Props)
                Guard(itemContext, prop.Line, prop.Path, [&] { SetProperty(*item, prop, itemContext); });
        }
        collection.EndUpdate();
    }

    static void SetLines(TStrings& strings, const TFormValue& v) {
        if (v.Type != TFormValue::vaList)
            throw EPropertyError("A list of strings is expected");
        strings.BeginUpdate();
        strings.Clear();
        for (const TFormValue& line : v.List) {
            if (line.Type != TFormValue::vaString)
                throw EPropertyError("A list of strings is expected");
            strings.Add(WideToAnsi(line.Str));
        }
        strings.EndUpdate();
    }

    void SetEvent(TObject& obj, const TPropInfo& p, const TFormValue& v) {
        if (v.Type != TFormValue::vaIdent)
            Invalid(p, KindName(v));
        if (SameText(v.Ident, "nil")) {
            p.SetMethod(obj, TMethod{});
            return;
        }
        const TMethodEntry* method = FRoot.ClassType()->FindMethod(v.Ident);
        if (!method)
            throw EPropertyError(FormatMsg("%s has no published method %s", {FRoot.ClassName(), v.Ident}));
        if (*method->Signature != *p.Signature)
            throw EPropertyError(
                FormatMsg("Method %s does not have the parameters of event %s", {method->Name, p.Name}));
        p.SetMethod(obj, method->Bind(FRoot));
    }

    void ResolveReferences() {
        for (const Fixup& f : FFixups) {
            TComponent* target = nullptr;
            if (SameText(f.Reference, FRootName))
                target = &FRoot;
            else
                target = FRoot.FindComponent(f.Reference);
            Guard(f.Context.substr(0, f.Context.rfind('.')), f.Line, f.Prop->Name, [&] {
                if (!target)
                    throw EPropertyError(FormatMsg("No component named %s", {f.Reference}));
                if (!target->InheritsFrom(f.Prop->PropClass()))
                    throw EPropertyError(FormatMsg("%s is a %s, not a %s", {f.Reference, target->ClassName(),
                                                                            f.Prop->PropClass()->Name}));
                f.Prop->SetObj(*f.Target, target);
            });
        }
    }

    TComponent& FRoot;
    std::string FSource;
    std::string FRootName;
    std::vector<TComponent*> FLoaded;
    std::vector<Fixup> FFixups;
};

} // namespace

void ReadComponentDescription(TComponent& root, const TFormObject& description, std::string_view sourceName) {
    Reader(root, sourceName).ReadRoot(description);
}

void ReadComponentText(TComponent& root, std::string_view text, std::string_view sourceName) {
    try {
        ReadComponentDescription(root, ParseFormDescription(text, sourceName), sourceName);
    } catch (const EParserError& e) {
        throw EReadError(e.Message());
    }
}

#include "FormWriter.h"

#include "Collection.h"
#include "Streams.h"
#include "Strings.h"

#include <memory>

namespace {

std::unique_ptr<TObject, TObjectDeleter> FreshComponent(TClass cls) {
    return std::unique_ptr<TObject, TObjectDeleter>(cls->CreateComponent ? cls->CreateComponent(nullptr)
                                                                         : nullptr);
}

std::vector<uint8_t> BinaryOf(const TPropInfo& p, TObject& obj) {
    TMemoryStream data;
    p.WriteData(obj, data);
    return data.Bytes();
}

class Writer {
public:
    explicit Writer(TComponent& root) : FRoot(root) {}

    TFormObject Describe() {
        TFormObject desc = DescribeOne(FRoot);
        for (int i = 0; i < FRoot.ComponentCount(); ++i) {
            TComponent* c = FRoot.Components(i);
            TComponent* parent = c->GetParentComponent();
            if (!parent || parent == &FRoot)
                desc.Children.push_back(DescribeTree(*c));
        }
        return desc;
    }

private:
    // A component and the owned components placed inside it.
    TFormObject DescribeTree(TComponent& c) {
        TFormObject desc = DescribeOne(c);
        for (int i = 0; i < FRoot.ComponentCount(); ++i) {
            TComponent* child = FRoot.Components(i);
            if (child->GetParentComponent() == &c)
                desc.Children.push_back(DescribeTree(*child));
        }
        return desc;
    }

    TFormObject DescribeOne(TComponent& c) {
        TFormObject desc;
        desc.Name = c.Name();
        desc.ClassName = c.ClassName();
        auto fresh = FreshComponent(c.ClassType());
        WriteProperties(c, fresh.get(), "", desc.Props);
        return desc;
    }

    void WriteProperties(TObject& obj, TObject* fresh, const std::string& prefix,
                         std::vector<TFormProperty>& out) {
        for (const TPropInfo* p : obj.ClassType()->PropList()) {
            if (SameText(p->Name, "Name") && prefix.empty() && dynamic_cast<TComponent*>(&obj))
                continue; // written in the object's header
            const std::string path = prefix + p->Name;
            if (p->Kind == tkClass) {
                WriteObjectProperty(obj, fresh, *p, path, out);
                continue;
            }
            if (!p->Writable())
                continue;
            TFormValue value;
            if (!ValueOf(obj, *p, value))
                continue;
            TFormValue initial;
            if (fresh && ValueOf(*fresh, *p, initial) && Same(value, initial))
                continue;
            out.push_back({0, path, std::move(value)});
        }
    }

    bool ValueOf(TObject& obj, const TPropInfo& p, TFormValue& v) {
        switch (p.Kind) {
        case tkInteger: {
            const int64_t n = p.GetOrd(obj);
            std::string ident;
            if (p.Idents && p.Idents->IntToIdent(n, ident)) {
                v.Type = TFormValue::vaIdent;
                v.Ident = ident;
            } else {
                v.Type = TFormValue::vaInteger;
                v.Int = n;
            }
            return true;
        }
        case tkEnumeration: {
            const int64_t n = p.GetOrd(obj);
            if (n < 0 || n >= static_cast<int64_t>(p.EnumType->Names.size()))
                return false;
            v.Type = TFormValue::vaIdent;
            v.Ident = p.EnumType->Names[static_cast<size_t>(n)];
            return true;
        }
        case tkSet: {
            const auto bits = static_cast<uint32_t>(p.GetOrd(obj));
            v.Type = TFormValue::vaSet;
            for (size_t i = 0; i < p.EnumType->Names.size() && i < 32; ++i)
                if (bits & (uint32_t{1} << i))
                    v.Members.push_back(p.EnumType->Names[i]);
            return true;
        }
        case tkLString:
            v.Type = TFormValue::vaString;
            v.Str = AnsiToWide(p.GetStr(obj));
            return true;
        case tkWString:
            v.Type = TFormValue::vaString;
            v.Str = p.GetWStr(obj);
            return true;
        case tkMethod: {
            const TMethod m = p.GetMethod(obj);
            if (!m.Assigned())
                return false;
            for (TClass c = FRoot.ClassType(); c; c = c->Parent)
                for (const TMethodEntry& entry : c->Methods)
                    if (entry.Bind(FRoot) == m) {
                        v.Type = TFormValue::vaIdent;
                        v.Ident = entry.Name;
                        return true;
                    }
            return false; // a handler that is no published method of the root is not stored
        }
        case tkBinary:
            v.Type = TFormValue::vaBinary;
            v.Bytes = BinaryOf(p, obj);
            return true;
        default:
            return false;
        }
    }

    static bool Same(const TFormValue& a, const TFormValue& b) {
        return a.Type == b.Type && a.Int == b.Int && a.Str == b.Str && a.Ident == b.Ident &&
               a.Members == b.Members && a.Bytes == b.Bytes;
    }

    void WriteObjectProperty(TObject& obj, TObject* fresh, const TPropInfo& p, const std::string& path,
                             std::vector<TFormProperty>& out) {
        TObject* value = p.GetObj(obj);
        TObject* initial = fresh ? p.GetObj(*fresh) : nullptr;
        if (auto* component = dynamic_cast<TComponent*>(value)) {
            if (!p.SetObj)
                return;
            const std::string name = component == &FRoot ? FRoot.Name() : component->Name();
            if (name.empty() || (component != &FRoot && component->Owner() != &FRoot))
                return; // only references the reader can resolve
            TFormValue v;
            v.Type = TFormValue::vaIdent;
            v.Ident = name;
            out.push_back({0, path, std::move(v)});
            return;
        }
        if (auto* strings = dynamic_cast<TStrings*>(value)) {
            auto* initialStrings = dynamic_cast<TStrings*>(initial);
            if (initialStrings ? strings->Equals(*initialStrings) : strings->Count() == 0)
                return;
            TFormValue v;
            v.Type = TFormValue::vaList;
            for (int i = 0; i < strings->Count(); ++i) {
                TFormValue line;
                line.Type = TFormValue::vaString;
                line.Str = AnsiToWide(strings->Get(i));
                v.List.push_back(std::move(line));
            }
            out.push_back({0, path + ".Strings", std::move(v)});
            return;
        }
        if (auto* collection = dynamic_cast<TCollection*>(value)) {
            if (collection->Count() == 0)
                return;
            TFormValue v;
            v.Type = TFormValue::vaCollection;
            TCollection scratch(collection->ItemClass());
            TCollectionItem* freshItem = scratch.Add();
            for (int i = 0; i < collection->Count(); ++i) {
                TFormItem item;
                WriteProperties(*collection->Items(i), freshItem, "", item.Props);
                v.Items.push_back(std::move(item));
            }
            out.push_back({0, path, std::move(v)});
            return;
        }
        if (value && dynamic_cast<TPersistent*>(value)) // a sub-object: its own properties, dotted
            WriteProperties(*value, initial, path + ".", out);
    }

    TComponent& FRoot;
};

} // namespace

TFormObject DescribeComponent(TComponent& root) {
    return Writer(root).Describe();
}

std::string WriteComponentText(TComponent& root) {
    return WriteFormDescription(DescribeComponent(root));
}

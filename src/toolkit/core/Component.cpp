#include "Component.h"

#include <algorithm>

// ---- TPersistent ---------------------------------------------------------------------------

TClass TPersistent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent").Build();
    return &info;
}

void TPersistent::Assign(TPersistent* source) {
    if (!source)
        throw EConvertError(FormatMsg("Cannot assign a nil to a %s", {ClassName()}));
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    const std::string from = ClassName();
    const std::string to = dest ? dest->ClassName() : std::string("nil");
    throw EConvertError(FormatMsg("Cannot assign a %s to a %s", {from, to}));
}

// ---- TComponent ----------------------------------------------------------------------------

TClass TComponent::StaticClass() {
    static const TClassInfo info = TClassBuilder<TComponent>("TComponent")
                                       .Str("Name", &TComponent::Name, &TComponent::SetName)
                                       .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
                                       .Build();
    return &info;
}

TComponent::TComponent(TComponent* owner) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
    Destroying();
    DestroyComponents();
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner)
        return -1;
    auto it = std::find(FOwner->FComponents.begin(), FOwner->FComponents.end(), this);
    return static_cast<int>(it - FOwner->FComponents.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : FComponents)
        if (SameText(c->FName, name))
            return c;
    return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName) const {
    if (!newName.empty() && !SameText(currentName, newName)) {
        TComponent* existing = FindComponent(newName);
        if (existing && existing != component)
            throw EComponentError(FormatMsg("A component named %s already exists", {newName}));
    }
}

void TComponent::SetName(const std::string& name) {
    if (FName == name)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(FormatMsg("'%s' is not a valid component name", {name}));
    if (FOwner)
        FOwner->ValidateRename(this, FName, name);
    FName = name;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->FOwner == this)
        return;
    ValidateRename(component, "", component->FName);
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    Insert(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (component->FOwner != this)
        return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it != FComponents.end())
        FComponents.erase(it);
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        TObject::Free(c);
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* component) {
    std::erase(FFreeNotifies, component);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component)
        return;
    RemoveNotification(component);
    component->RemoveNotification(this);
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component)
        RemoveNotification(component);
    for (TComponent* c : std::vector<TComponent*>(FComponents))
        if (c != component)
            c->Notification(component, operation);
}

void TComponent::SetDesigning(bool value) {
    if (value)
        FComponentState.Include(csDesigning);
    else
        FComponentState.Exclude(csDesigning);
    for (TComponent* c : FComponents)
        c->SetDesigning(value);
}

void TComponent::SetLoadingState(bool loading) {
    if (loading)
        FComponentState = FComponentState + TComponentState{csLoading, csReading};
    else
        FComponentState.Exclude(csReading);
}

namespace {
const bool kRegistered = (RegisterClasses({TComponent::StaticClass()}), true);
}

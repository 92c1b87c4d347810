// Components: named objects in an owner tree. An owner frees what it owns; a freed component
// leaves its owner's list and tells every component that asked for free notification.
#pragma once

#include "Persistent.h"
#include "Sets.h"

#include <string>
#include <vector>

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    TW_DECLARE_CLASS(TComponent, TPersistent)

    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    void BeforeDestruction() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    // Case-insensitive search among the owned components; nullptr when none.
    TComponent* FindComponent(std::string_view name) const;

    const std::string& Name() const { return FName; }
    // Names are identifiers (or empty) and unique among the owner's components.
    virtual void SetName(const std::string& name);
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t tag) { FTag = tag; }
    TComponentState ComponentState() const { return FComponentState; }

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the newest first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

    // Asks for Notification(component, opRemove) when component is freed; both ways.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Called once after the component's stored properties were read; clears csLoading.
    virtual void Loaded();
    virtual void Notification(TComponent* component, TOperation operation);

    // Components placed inside another one in a form description (controls in a panel).
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}

    // Design-time state for this component and everything it owns. The program never runs
    // at design time; tests and tools use it.
    void SetDesigning(bool value);
    // Used by the form reader around reading a component.
    void SetLoadingState(bool loading);

    std::string GetNamePath() const override { return FName; }

protected:
    void ValidateRename(TComponent* component, const std::string& currentName,
                        const std::string& newName) const;

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void RemoveNotification(TComponent* component);

    TComponent* FOwner = nullptr;
    std::string FName;
    int32_t FTag = 0;
    TComponentState FComponentState;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};

// The root of the class tree: every toolkit object knows its class, its class name and the
// chain of its ancestors, so code can test classes by name as well as by type.
#pragma once

#include <string>
#include <string_view>

class TClassInfo;
using TClass = const TClassInfo*;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }
    std::string ClassName() const;
    bool ClassNameIs(std::string_view name) const;
    bool InheritsFrom(TClass cls) const;
    // True when this class or one of its ancestors has the given name (any case).
    bool InheritsFrom(std::string_view className) const;

    // Runs once the most derived constructor has finished; objects that must call virtual
    // methods while being set up (forms reading their description) do it here.
    virtual void AfterConstruction() {}
    // Runs before the destructors while the object is still complete; owners free what they
    // own here so that children never see a half-destroyed owner.
    virtual void BeforeDestruction() {}

    // Destroys an object the toolkit way: BeforeDestruction, then delete. Null is allowed.
    static void Free(TObject* obj);
};

// Deleter for std::unique_ptr that frees through TObject::Free.
struct TObjectDeleter {
    void operator()(TObject* obj) const { TObject::Free(obj); }
};

// Put at the top of every class that takes part in the class registry.
#define TW_DECLARE_CLASS(Self, Parent)                                                                       \
public:                                                                                                      \
    using inherited = Parent;                                                                                \
    static TClass StaticClass();                                                                             \
    TClass ClassType() const override {                                                                      \
        return Self::StaticClass();                                                                          \
    }

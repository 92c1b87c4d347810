// Objects that can copy themselves from others of a compatible class.
#pragma once

#include "TypInfo.h"

class TPersistent : public TObject {
    TW_DECLARE_CLASS(TPersistent, TObject)

    // Copies from source; raises EConvertError when neither side knows the other's class.
    virtual void Assign(TPersistent* source);
    virtual TPersistent* GetOwner() const { return nullptr; }
    virtual std::string GetNamePath() const { return ClassName(); }

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

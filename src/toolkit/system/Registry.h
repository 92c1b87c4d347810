// TRegistry: a key of the registry opened under a root key, its values read and written by
// name. The key is closed when another is opened, on CloseKey and when the object goes.
#pragma once

#include "Strings.h"
#include "SysUtils.h"

#include <windows.h>

#include <string>

TW_DECLARE_EXCEPTION(ERegistryException, Exception);

class TRegistry : public TObject {
public:
    TRegistry();
    explicit TRegistry(REGSAM access);
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY value);
    REGSAM Access() const { return FAccess; }
    void SetAccess(REGSAM value) { FAccess = value; }
    HKEY CurrentKey() const { return FCurrentKey; }
    const std::string& CurrentPath() const { return FCurrentPath; }

    // Opens key (relative to the current key, or to the root when it starts with '\'),
    // creating it when canCreate; false when it cannot be opened with the access asked for.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool KeyExists(const std::string& key);
    bool DeleteKey(const std::string& key);

    // Value names in the order the registry enumerates them.
    void GetValueNames(TStrings& names);
    void GetKeyNames(TStrings& names);
    bool ValueExists(const std::string& name);
    DWORD GetDataType(const std::string& name); // REG_NONE when missing
    // A missing value reads as ""; a value that is not a string raises
    // ERegistryException("Invalid data type for '<name>'").
    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    int32_t ReadInteger(const std::string& name);
    void WriteInteger(const std::string& name, int32_t value);
    bool DeleteValue(const std::string& name);

private:
    HKEY BaseKeyFor(const std::string& key, std::string& path) const;
    void WriteData(const std::string& name, DWORD type, const void* data, DWORD size);

    HKEY FRootKey = HKEY_CURRENT_USER;
    REGSAM FAccess = KEY_ALL_ACCESS;
    HKEY FCurrentKey = nullptr;
    std::string FCurrentPath;
};

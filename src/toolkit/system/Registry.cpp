#include "Registry.h"

#include <algorithm>
#include <vector>

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM access) : FAccess(access) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY value) {
    if (FRootKey == value)
        return;
    CloseKey();
    FRootKey = value;
}

HKEY TRegistry::BaseKeyFor(const std::string& key, std::string& path) const {
    const bool absolute = !key.empty() && key.front() == '\\';
    path = absolute ? key.substr(1) : key;
    if (!absolute && FCurrentKey) {
        path = FCurrentPath.empty() ? path : FCurrentPath + "\\" + path;
        return FRootKey;
    }
    return FRootKey;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string path;
    HKEY base = BaseKeyFor(key, path);
    HKEY opened = nullptr;
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess, nullptr,
                             &opened, nullptr);
    else
        rc = RegOpenKeyExA(base, path.c_str(), 0, FAccess, &opened);
    if (rc != ERROR_SUCCESS)
        return false;
    CloseKey();
    FCurrentKey = opened;
    FCurrentPath = path;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    const REGSAM saved = FAccess;
    FAccess = KEY_READ;
    const bool ok = OpenKey(key, false);
    FAccess = saved;
    return ok;
}

void TRegistry::CloseKey() {
    if (FCurrentKey) {
        RegCloseKey(FCurrentKey);
        FCurrentKey = nullptr;
        FCurrentPath.clear();
    }
}

bool TRegistry::KeyExists(const std::string& key) {
    std::string path;
    HKEY base = BaseKeyFor(key, path);
    HKEY opened = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string path;
    HKEY base = BaseKeyFor(key, path);
    return RegDeleteKeyA(base, path.c_str()) == ERROR_SUCCESS;
}

void TRegistry::GetValueNames(TStrings& names) {
    names.BeginUpdate();
    names.Clear();
    if (FCurrentKey) {
        DWORD count = 0, maxName = 0;
        RegQueryInfoKeyA(FCurrentKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName,
                         nullptr, nullptr, nullptr);
        std::vector<char> buffer(maxName + 2);
        for (DWORD i = 0;; ++i) {
            DWORD length = static_cast<DWORD>(buffer.size());
            const LONG rc =
                RegEnumValueA(FCurrentKey, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_MORE_DATA) { // grew meanwhile
                buffer.resize(buffer.size() * 2);
                --i;
                continue;
            }
            if (rc != ERROR_SUCCESS)
                break;
            names.Add(std::string(buffer.data(), length));
        }
    }
    names.EndUpdate();
}

void TRegistry::GetKeyNames(TStrings& names) {
    names.BeginUpdate();
    names.Clear();
    if (FCurrentKey) {
        char buffer[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof buffer;
            if (RegEnumKeyExA(FCurrentKey, i, buffer, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            names.Add(std::string(buffer, length));
        }
    }
    names.EndUpdate();
}

bool TRegistry::ValueExists(const std::string& name) {
    return FCurrentKey &&
           RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

DWORD TRegistry::GetDataType(const std::string& name) {
    DWORD type = REG_NONE;
    if (!FCurrentKey ||
        RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return type;
}

std::string TRegistry::ReadString(const std::string& name) {
    DWORD type = REG_NONE, size = 0;
    if (!FCurrentKey ||
        RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(FormatMsg("Invalid data type for '%s'", {name}));
    std::vector<char> data(size + 1, '\0');
    LONG rc;
    while ((rc = RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size)) == ERROR_MORE_DATA)
        data.assign(size + 1, '\0');
    if (rc != ERROR_SUCCESS)
        throw ERegistryException(FormatMsg("Failed to get data for '%s'", {name}));
    data.resize(std::min<size_t>(size, data.size() - 1));
    // Stored strings usually end with their terminator; some do not.
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return std::string(data.begin(), data.end());
}

void TRegistry::WriteData(const std::string& name, DWORD type, const void* data, DWORD size) {
    if (!FCurrentKey || RegSetValueExA(FCurrentKey, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                                       size) != ERROR_SUCCESS)
        throw ERegistryException(FormatMsg("Failed to set data for '%s'", {name}));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    WriteData(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
    WriteData(name, REG_EXPAND_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

int32_t TRegistry::ReadInteger(const std::string& name) {
    DWORD type = REG_NONE, value = 0, size = sizeof value;
    if (!FCurrentKey || RegQueryValueExA(FCurrentKey, name.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        throw ERegistryException(FormatMsg("Failed to get data for '%s'", {name}));
    if (type != REG_DWORD)
        throw ERegistryException(FormatMsg("Invalid data type for '%s'", {name}));
    return static_cast<int32_t>(value);
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    WriteData(name, REG_DWORD, &data, sizeof data);
}

bool TRegistry::DeleteValue(const std::string& name) {
    return FCurrentKey && RegDeleteValueA(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

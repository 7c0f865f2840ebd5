#include "win32/settings/RegistryStore.h"

#include <vector>

#include "core/base/Errors.h"
#include "win32/base/Win32Util.h"

namespace mirobel {

std::wstring RegistryStore::KeyPath(const std::wstring& app, const std::wstring& section) {
    return L"Software\\VB and VBA Program Settings\\" + app + L"\\" + section;
}

std::optional<std::wstring> RegistryStore::Read(const std::wstring& app, const std::wstring& section,
                                                const std::wstring& key) {
    HKEY hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, &hkey) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, bytes = 0;
    LSTATUS status = RegQueryValueExW(hkey, key.c_str(), nullptr, &type, nullptr, &bytes);
    std::optional<std::wstring> result;
    if (status == ERROR_SUCCESS) {
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegQueryValueExW(hkey, key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ))
            result = std::wstring(buffer.data());  // stops at the terminator, if any
        else if (status == ERROR_SUCCESS)
            result = std::wstring();  // a value that is not text cannot be a number
    }
    RegCloseKey(hkey);
    return result;
}

void RegistryStore::Write(const std::wstring& app, const std::wstring& section, const std::wstring& key,
                          const std::wstring& text) {
    HKEY hkey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &hkey, nullptr) != ERROR_SUCCESS)
        throw InvalidCall();
    LSTATUS status = RegSetValueExW(hkey, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(hkey);
    if (status != ERROR_SUCCESS) throw InvalidCall();
}

}  // namespace mirobel

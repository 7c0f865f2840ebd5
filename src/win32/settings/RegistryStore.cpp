#include "win32/settings/RegistryStore.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/base/Errors.h"
#include "win32/base/Win32Util.h"

namespace mirobel {

std::wstring RegistryStore::KeyPath(const std::wstring& app, const std::wstring& section) {
    return L"Software\\VB and VBA Program Settings\\" + app + L"\\" + section;
}

namespace {
// The text of a value, read within the bytes the system returned: a value
// written with an odd size or without a terminator (by hand, or by another
// program) must not be read past its end. Text values keep what stands
// before their first terminator; a value of any other type holds no number
// and reads as empty text, which the load reports as a type mismatch.
std::optional<std::wstring> ReadValue(HKEY hkey, const std::wstring& key) {
    // The value may grow between asking its size and reading it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, bytes = 0;
        if (RegQueryValueExW(hkey, key.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
            return std::nullopt;
        std::vector<BYTE> buffer(bytes);
        DWORD size = bytes;
        LSTATUS status = RegQueryValueExW(hkey, key.c_str(), nullptr, &type, buffer.data(), &size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return std::wstring();
        size = std::min<DWORD>(size, static_cast<DWORD>(buffer.size()));
        std::wstring text(size / sizeof(wchar_t), L'\0');  // an odd last byte is no character
        std::memcpy(text.data(), buffer.data(), text.size() * sizeof(wchar_t));
        if (size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
        return text;
    }
    return std::nullopt;
}
}  // namespace

std::optional<std::wstring> RegistryStore::Read(const std::wstring& app, const std::wstring& section,
                                                const std::wstring& key) {
    HKEY hkey;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, &hkey) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::wstring> result = ReadValue(hkey, key);
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

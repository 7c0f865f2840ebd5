// The settings store in the per-user registry branch that classic
// application-settings functions use, so that older stored settings are read.
#pragma once
#include <optional>
#include <string>

#include "core/base/Seams.h"

namespace mirobel {

struct RegistryStore : SettingsStore {
    std::optional<std::wstring> Read(const std::wstring& app, const std::wstring& section,
                                     const std::wstring& key) override;
    void Write(const std::wstring& app, const std::wstring& section, const std::wstring& key,
               const std::wstring& text) override;
    static std::wstring KeyPath(const std::wstring& app, const std::wstring& section);
};

}  // namespace mirobel

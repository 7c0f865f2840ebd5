// The About box: a standard information box, so it needs no window of its own.
#pragma once
#include <string>

#include "core/base/Errors.h"

namespace mirobel {

// The compiler that built this program, named as the About box's first line
// names it ("MinGW-w64 GCC 12-posix" for the release build).
std::wstring DevelopmentTool();

// The rights notice of line 6; line 4 names kAuthorName (app/Errors.h).
inline constexpr const wchar_t* kRightsNotice = L"Copyright (C) Team Mirobel. All rights reserved.";

// The six lines, CR LF between them and after the last; line 4 names the
// program by its title in the language.
std::wstring AboutText(const std::wstring& tool, Language language = Language::Japanese);

// Shows the box and waits; any failure is reported in the standard error box.
void ShowAbout(Language language = Language::Japanese);

}  // namespace mirobel

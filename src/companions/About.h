// The About box: a standard information box, so it needs no window of its own.
#pragma once
#include <string>

namespace mirobel {

// The compiler that built this program, named as the About box's first line
// names it ("MinGW-w64 GCC 12-posix" for the release build).
std::wstring DevelopmentTool();

// The author named in line 4 and the rights notice of line 6.
inline constexpr const wchar_t* kAuthorName = L"the Mirobel team";
inline constexpr const wchar_t* kRightsNotice = L"Copyright (C) the Mirobel team. All rights reserved.";

// The six lines, CR LF between them and after the last.
std::wstring AboutText(const std::wstring& tool);

// Shows the box and waits; any failure is reported in the standard error box.
void ShowAbout();

}  // namespace mirobel

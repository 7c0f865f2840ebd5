// What the forms share in looks: the colours that more than one
// of them shows. The faces they ask for are named in core/base/Faces.h.
#pragma once
#include "win32/base/Win32Util.h"

namespace mirobel::look {

inline constexpr COLORREF kTitleStrip = RGB(0, 128, 128);  // the title across the dialog and the viewer
inline constexpr COLORREF kPanel = RGB(0, 192, 192);       // their panels, and the row labels on them
inline constexpr COLORREF kLightGrey = RGB(192, 192, 192);  // the dialog's option buttons and check box
inline constexpr COLORREF kPage = RGB(255, 255, 255);       // boxes of text to read

}  // namespace mirobel::look

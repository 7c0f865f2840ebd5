// The preview: a fixed picture of a card embedded in the host window that
// the display settings hand over with "/p <handle>".
#pragma once
#include <cstdint>

#include "win32/base/Win32Util.h"

namespace mirobel {

extern HWND frmPrev;  // "preview window": borderless, black, child of the host
extern HWND prev;     // the picture, stretched to the control's own size

// The preview branch of Main after SaverActive is cleared: sizes the show's
// globals from the host window, makes frmPrev its child and shows it. A
// handle that names no window opens nothing, so the process ends at once.
void StartPreview(int32_t hostHandle);
// Places frmPrev over the whole host window and the picture over frmPrev.
void ShowPreview();

}  // namespace mirobel

// Placing of controls in pixels, with font sizes corrected for the screen.
// The font size always comes first, because a control may size itself
// from its font.
#pragma once
#include <cstdint>

#include "win32/base/Win32Util.h"

namespace mirobel {

void PlaceControl(HWND control, int16_t width, int16_t height, int16_t left, int16_t top);
void PlaceFontControl(HWND control, int16_t size, int16_t width, int16_t height, int16_t left, int16_t top);
// For drop-down lists, whose visible height follows their font: the height
// the list had before (its dropped extent, for a combo box) is kept.
void PlaceFontControlKeepHeight(HWND control, int16_t size, int16_t width, int16_t left, int16_t top);

// Height of a combo box's dropped rectangle as the system reports it.
int ComboListExtent(HWND combo);

// Sets the control's font to ScaledFontSize(size) points, keeping its face,
// weight and character set.
void SetControlFontSize(HWND control, int16_t size);
// Gives a control its face, weight and character set before it is placed.
void SetControlFont(HWND control, const wchar_t* face, bool bold, BYTE charset, int16_t size);
// Frees the fonts made for the controls of a window that is going away.
void ReleaseControlFonts(HWND window);

}  // namespace mirobel

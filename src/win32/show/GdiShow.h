// GDI implementations of the show's drawing seams.
#pragma once
#include <string>

#include "win32/base/Fonts.h"
#include "win32/base/Surface.h"
// After <windows.h>: its DrawText macro renames the canvas method alike.
#include "core/base/Seams.h"

namespace mirobel {


// The portrait of a poem's poet, decoded on first use; nullptr if missing.
Surface* Portrait(int poemNo);

// The card canvas and the frame surfaces on GDI. Portraits are decoded with
// WIC, which needs COM started on the thread first.
CardCanvas& GdiCardCanvas();
FrameTarget& GdiFrameTarget();
// Frames go to the display window; tests and the benchmark may send them to
// a surface of their own instead (nullptr: back to the window).
void PresentInto(Surface* screen);
// The frame surfaces the chosen presentation needs: whole-screen ones only
// for presenting whole frames; the changed-rectangle presentation composes
// in a scratch surface no bigger than what one frame changes.
void PrepareFrameSurfaces();
// Draws the area of the last presented frame again (the window was covered).
void RepaintShow(HDC dc, const RECT& area);
// Fresh surfaces for a show of DispWidth x DispHeight and its first card,
// for running the frame painting outside the display window.
void BeginShowOffWindow();
// A card canvas for the show's resolution (g_showDpi).
void SizeCardCanvas();
void ReleaseGdiShow();

}  // namespace mirobel

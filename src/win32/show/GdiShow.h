// GDI implementations of the show's drawing seams.
#pragma once
#include <string>

#include "win32/base/Surface.h"

namespace mirobel {

inline constexpr const wchar_t* kEmbeddedBrushFace = L"Yuji Syuku";
inline constexpr const wchar_t* kEmbeddedMinchoFace = L"BIZ UDMincho";
// The proportional Gothic face the introduction window asks for.
inline constexpr const wchar_t* kPGothicFace = L"ＭＳ Ｐゴシック";

// Adds the fonts embedded in the program to this process.
void AddEmbeddedFonts();
// The face to ask GDI for: the named one when installed, otherwise its
// embedded stand-in.
std::wstring ResolveFace(const std::wstring& face);
// The portrait of a poem's poet, decoded on first use; nullptr if missing.
Surface* Portrait(int poemNo);

void InstallGdiShow();
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
void ReleaseGdiShow();

}  // namespace mirobel

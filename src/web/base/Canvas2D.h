// The page's 2D canvases as seen from the show: numbered canvases in the
// page's script (page.js keeps them), drawn on through a few calls. Canvas 0
// is the screen; the others are off-screen pictures the painter keeps.
#pragma once
#include <string>

#include "core/base/Seams.h"

namespace mirobel::web {

// The embedded faces, as the page registered them with FontFace.
enum class Face { Mincho = 0, Brush = 1, Latin = 2 };

inline constexpr int kScreenCanvas = 0;

int CreateCanvas(int width, int height);
void DestroyCanvas(int canvas);
void FillBox(int canvas, const Rect& r, Rgb colour);
// Everything drawn on `canvas` until Unclip stays inside r.
void ClipTo(int canvas, const Rect& r);
void Unclip(int canvas);
// Text whose top-left corner is at (x, y), as the Windows layer places it;
// bold is synthesised. Returns the ink's box, a pixel wider all round.
Rect DrawText(int canvas, Face face, bool bold, int pixels, Rgb colour, int x, int y, const std::wstring& text);
// The advance of the text in whole pixels, rounded up.
int TextWidth(Face face, int pixels, const std::wstring& text);
// Copies the w x h pixels at (fromX, fromY) of one canvas to (x, y) of another.
void CopyCanvas(int from, int fromX, int fromY, int to, const Rect& box);
// The picture of a poem, decoded by the browser. Decoding takes time, so a
// show asks for it when the card comes; false while it is not ready.
void RequestPortrait(int poemNo);
// Stretches the portrait over r on `canvas`; false when it is not decoded
// (yet, or there is none).
bool DrawPortrait(int canvas, int poemNo, const Rect& r);
// Drops the decoded pictures of every poem but this one.
void KeepOnlyPortrait(int poemNo);

}  // namespace mirobel::web

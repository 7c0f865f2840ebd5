// The windows the settings dialog opens beside itself. Each exists at most
// once; the handle is null while the window is not open.
#pragma once
#include "win32/base/Win32Util.h"
#include "core/companions/About.h"

namespace mirobel {

extern HWND frmComment;  // commentary viewer "百人一首の解説"
extern HWND frmHelp;     // help window "ミロベルスクリーンセイバーの使い方"
extern HWND salesf;      // software introduction window "作者ソフト紹介"

// Open, or lay out again and show, the viewer / the help window, at dpi
// (a window already open keeps the scale it was made with), in the
// language; one open in the other language is made again in this one.
void ShowCommentary(int dpi, Language language = Language::Japanese);
void ShowHelp(int dpi, Language language = Language::Japanese);
// Creates the introduction window at dpi when it is not open, then shows it.
void ShowSales(int dpi, Language language = Language::Japanese);

// Each closes its window when it is open (the window is discarded).
void UnloadCommentary();
void UnloadHelp();
void UnloadSales();

}  // namespace mirobel

// Small Win32 helpers shared by every window of the program.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace mirobel {

// Exact twips per device pixel of the screen, for what meets device pixels
// (the preview's host); layouts work in units and are magnified instead.
double ScreenTwipsPerPixelX();
double ScreenTwipsPerPixelY();
// The screen's logical resolution as the system reports it to this
// system-DPI-aware process: the same for its whole life. The program reads it
// once at start and hands it to the windows it opens.
int ReadDisplayScale();

// Every top-level window of the process is counted; when the last one is
// gone the message loop ends and so does the process.
void WindowOpened();
void WindowClosed();
int OpenWindowCount();
int RunMessageLoop();
// Handles what is waiting in the queue once, without blocking.
void DoEvents();

// Resizes a window so that its client area is width x height units, magnified
// to pixels, while keeping whatever the frame and menu bar add, then centres
// it on the screen; dpi is the window's scale.
void SizeClientAndCentre(HWND hwnd, int width, int height, int dpi);

// Modal boxes through MessageBoxIndirectW, owned by the active window.
struct MessageBoxes& Win32MessageBoxes();

std::wstring ModulePath();

}  // namespace mirobel

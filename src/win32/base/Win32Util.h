// Small Win32 helpers shared by every window of the program.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace mirobel {

int ScreenTwipsPerPixelX();
int ScreenTwipsPerPixelY();
int ScreenDpiX();

// Every top-level window of the process is counted; when the last one is
// gone the message loop ends and so does the process.
void WindowOpened();
void WindowClosed();
int OpenWindowCount();
int RunMessageLoop();
// Handles what is waiting in the queue once, without blocking.
void DoEvents();

// Resizes a window so that its client area is width x height pixels while
// keeping whatever the frame and menu bar add, then centres it on the screen.
void SizeClientAndCentre(HWND hwnd, int width, int height);

// Modal boxes through MessageBoxIndirectW, owned by the active window.
struct MessageBoxes& Win32MessageBoxes();

std::wstring ModulePath();

}  // namespace mirobel

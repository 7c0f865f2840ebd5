// Small Win32 helpers shared by every window of the program.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "core/base/Seams.h"

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

// Opens a topic of a help file (WinHelp), as F1 in an error box does.
void OpenHelpTopic(const std::wstring& helpFile, int helpContext);

// Modal boxes through MessageBoxIndirectW, owned by the active window. A box
// that carries a help file shows no Help button; F1 in it hands the file and
// the box's topic to openHelp.
struct Win32Boxes : MessageBoxes {
    void (*openHelp)(const std::wstring& helpFile, int helpContext) = OpenHelpTopic;
    int Show(const std::wstring& text, const std::wstring& title, unsigned style, const std::wstring& helpFile,
             int helpContext) override;
};
Win32Boxes& Win32MessageBoxes();

// The desktop's language: the user's interface language, Japanese or not.
DesktopLanguage& Win32DesktopLanguage();

std::wstring ModulePath();

}  // namespace mirobel

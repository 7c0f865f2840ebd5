// The display window frmDisp, shared by the show's Win32 files.
#pragma once
#include "win32/base/Surface.h"

namespace mirobel {

// The window on the primary monitor, captioned "SAVER Screen", and its focus
// control: one each per process, as the start-up guard looks for the one
// caption and the keyboard has one focus. The show windows of the other
// monitors hang from frmDisp's show.
extern HWND frmDisp;
extern HWND picfocus;

inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT_PTR kTimer2 = 2;
// Looks at the monitors once a second while windows lie over other monitors:
// Wine does not tell a program when an X output goes away.
inline constexpr UINT_PTR kMonitorTimer = 3;
inline constexpr UINT kMonitorCheckInterval = 1000;

// Caption of the black windows over the other monitors; the start-up guard
// looks only for the show's own caption.
inline constexpr const wchar_t* kCoverCaption = L"Mirobel Monitor";
// Caption of the show windows over the other monitors.
inline constexpr const wchar_t* kMonitorShowCaption = L"Mirobel Monitor Show";

// What every window of the show answers alike: the focus back to picfocus,
// a click ends the show, the pointer stays hidden. True when the message was
// handled; result is the answer.
bool ShowSurfaceMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

}  // namespace mirobel

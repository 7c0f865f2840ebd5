// The display window frmDisp, shared by the show's Win32 files.
#pragma once
#include <vector>

#include "win32/base/Surface.h"

namespace mirobel {

extern HWND frmDisp;
extern HWND picfocus;

inline constexpr UINT_PTR kTimer1 = 1;
inline constexpr UINT_PTR kTimer2 = 2;

// Caption of the black windows over the other monitors; the start-up guard
// looks only for the show's own caption.
inline constexpr const wchar_t* kCoverCaption = L"Mirobel Monitor";
// The black windows open over the other monitors while the show runs.
std::vector<HWND> CoverWindows();
// Timer2 drives the music upkeep; it runs only while music plays.
bool MusicTimerRunning();
// Starts or stops Timer2 to follow the music.
void SyncMusicTimer();

}  // namespace mirobel

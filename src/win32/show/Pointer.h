// The mouse pointer over the show: hidden while it runs, given back as it
// ends; and the readings of pointer and caret that end it.
#pragma once
#include "core/show/ShowRules.h"
#include "win32/base/Win32Util.h"

namespace mirobel {

// A show window's pointer: a 32 x 32 pointer whose every pixel is
// transparent, until the show gives the default one back. Each show window
// holds its own.
class ShowPointer {
public:
    ShowPointer();
    ~ShowPointer();
    ShowPointer(const ShowPointer&) = delete;
    ShowPointer& operator=(const ShowPointer&) = delete;

    // The pointer the window shows now.
    HCURSOR Current() const;
    // Hides the pointer (as the show starts) or gives the default one back
    // (as it ends), at once and for WM_SETCURSOR from then on.
    void Hide();
    void GiveBack();

private:
    HCURSOR transparent_ = nullptr;
    bool isDefault_ = false;
};

// Caret and pointer as the end-of-show test compares them: read once per
// tick for every monitor's show.
InputPositions ReadPositions();

}  // namespace mirobel

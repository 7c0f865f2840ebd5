// One frame of the show, composed off screen and presented in one piece.
#include "app/Globals.h"
#include "display/DisplayWindow.h"
#include "display/Show.h"

namespace mirobel {

void PaintFrame() {
    if (!frmDisp) return;
    BitBlt(scr_work.dc, 0, 0, DispWidth, DispHeight, scr_bkg.dc, 0, 0, SRCCOPY);
    HDC window = GetDC(frmDisp);
    BitBlt(window, 0, 0, DispWidth, DispHeight, scr_work.dc, 0, 0, SRCCOPY);
    ReleaseDC(frmDisp, window);
}

// The card canvas is not drawn on yet: the show runs on the black ground.
void PrepareCard() {}

}  // namespace mirobel

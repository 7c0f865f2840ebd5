// What a form's controls hold (colours, fonts, pictures, the control that
// last had the focus), in one struct per form. The form's own struct holds
// it beside the form's controls and is freed with the window, so that
// nothing outlives the form and no table of handles has to be combed.
#pragma once
#include <vector>

#include "win32/base/Gdi.h"

namespace mirobel {

struct FormResources {
    struct Colours {
        HWND control;
        Brush brush;
        COLORREF back, text;
    };
    struct OwnedFont {
        HWND control;
        Font font;
    };
    struct Picture {
        HWND image;
        Bitmap bitmap;
        HICON icon = nullptr;  // destroyed with the form
    };
    struct Panel {
        HWND panel;
        Brush brush;
    };

    std::vector<Colours> colours;
    std::vector<OwnedFont> fonts;
    std::vector<Picture> pictures;
    std::vector<Panel> panels;
    HWND lastFocus = nullptr;
    // The scale the form is laid out at, given when it is made: every
    // placing of its controls magnifies by it.
    int dpi = 96;

    FormResources() = default;
    ~FormResources();
    FormResources(const FormResources&) = delete;
    FormResources& operator=(const FormResources&) = delete;

    // The font a control is drawn in, replacing (and freeing) the one it had.
    void SetFont(HWND control, HFONT font);
};

// Makes `resources` those of the form until DetachResources; whoever holds
// them frees them after that.
void AttachResources(HWND form, FormResources& resources);
void DetachResources(HWND form);
// The resources of the form a window belongs to (the nearest of the window
// and its ancestors that has some). A
// control of a form without resources is a mistake of the program, thrown
// as std::logic_error.
FormResources& ResourcesOf(HWND window);
// The resources of a form while it has them, or null.
FormResources* ExistingResourcesOf(HWND window);

}  // namespace mirobel

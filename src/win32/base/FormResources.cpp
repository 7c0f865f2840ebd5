#include "win32/base/FormResources.h"

#include <stdexcept>

namespace mirobel {

namespace {
const wchar_t* const kProperty = L"MirobelFormResources";

HWND RootOf(HWND window) {
    HWND root = GetAncestor(window, GA_ROOT);
    return root ? root : window;
}
}  // namespace

FormResources::~FormResources() {
    for (Picture& p : pictures)
        if (p.icon) DestroyIcon(p.icon);
}

void FormResources::SetFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (OwnedFont& owned : fonts) {
        if (owned.control == control) {
            owned.font.reset(font);
            return;
        }
    }
    fonts.push_back({control, Font(font)});
}

FormResources* ExistingResourcesOf(HWND window) {
    return static_cast<FormResources*>(GetPropW(RootOf(window), kProperty));
}

FormResources& ResourcesOf(HWND window) {
    if (FormResources* existing = ExistingResourcesOf(window)) return *existing;
    throw std::logic_error("a control of a form that holds no resources");
}

void AttachResources(HWND form, FormResources& resources) { SetPropW(RootOf(form), kProperty, &resources); }

void DetachResources(HWND form) { RemovePropW(RootOf(form), kProperty); }

}  // namespace mirobel

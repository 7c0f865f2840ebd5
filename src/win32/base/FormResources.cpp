#include "win32/base/FormResources.h"

#include <stdexcept>

namespace mirobel {

namespace {
const wchar_t* const kProperty = L"MirobelFormResources";

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

// Looked for from the window up, not at its top-level window: the preview is
// a form made the child of a host of another process, whose top-level window
// is not ours to mark.
FormResources* ExistingResourcesOf(HWND window) {
    for (HWND w = window; w && w != GetDesktopWindow(); w = GetAncestor(w, GA_PARENT))
        if (auto* resources = static_cast<FormResources*>(GetPropW(w, kProperty))) return resources;
    return nullptr;
}

FormResources& ResourcesOf(HWND window) {
    if (FormResources* existing = ExistingResourcesOf(window)) return *existing;
    throw std::logic_error("a control of a form that holds no resources");
}

void AttachResources(HWND form, FormResources& resources) { SetPropW(form, kProperty, &resources); }

void DetachResources(HWND form) { RemovePropW(form, kProperty); }

}  // namespace mirobel

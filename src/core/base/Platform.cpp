#include "core/base/Platform.h"

namespace mirobel {

Platform g_platform;

namespace {
int modalDepth = 0;
}

ModalScope::ModalScope() { ++modalDepth; }
ModalScope::~ModalScope() { --modalDepth; }
bool ModalBoxUp() { return modalDepth > 0; }

int ShowBox(const std::wstring& text, const std::wstring& title, unsigned style) {
    if (!g_platform.boxes) return kAnswerOk;
    ModalScope scope;
    return g_platform.boxes->Show(text, title, style, L"", 0);
}

void ShowErrorBox(const std::wstring& text, const RuntimeError& e) {
    if (!g_platform.boxes) return;
    ModalScope scope;
    g_platform.boxes->Show(text, kErrorTitle, kBoxOk, e.helpFile, e.helpContext);
}

}  // namespace mirobel

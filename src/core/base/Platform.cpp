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

void ShowErrorBox(const std::wstring& text, const RuntimeError& e, Language language) {
    if (!g_platform.boxes) return;
    ModalScope scope;
    g_platform.boxes->Show(text, language == Language::English ? kErrorTitleEnglish : kErrorTitle, kBoxOk,
                           e.helpFile, e.helpContext);
}

Language DesktopSpeaks() {
    return g_platform.desktop && g_platform.desktop->Get() == Language::Japanese ? Language::Japanese
                                                                                  : Language::English;
}

}  // namespace mirobel

// Recording fakes of the platform seams for native tests.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/Platform.h"
#include "core/settings/Settings.h"

namespace mirobel::testing {

struct ShownBox {
    std::wstring text, title;
    unsigned style;
    std::wstring helpFile;
    int helpContext;
};

// Records every box and answers with the queued answers (OK when empty).
struct RecordingBoxes : MessageBoxes {
    std::vector<ShownBox> shown;
    std::vector<int> answers;
    bool modalUpDuringShow = false;
    std::function<void()> failure;  // raised by the next box, once
    int Show(const std::wstring& text, const std::wstring& title, unsigned style, const std::wstring& helpFile,
             int helpContext) override {
        if (auto fail = std::exchange(failure, nullptr)) fail();
        shown.push_back({text, title, style, helpFile, helpContext});
        modalUpDuringShow = ModalBoxUp();
        if (answers.empty()) return kAnswerOk;
        int a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
};

// Stands in for the platform's boxes for the lifetime of a test, then gives
// the bundle back the boxes it had.
struct BoxesInstalled : RecordingBoxes {
    BoxesInstalled() : before(g_platform.boxes) { g_platform.boxes = this; }
    ~BoxesInstalled() { g_platform.boxes = before; }
    MessageBoxes* before;
};

struct MemoryStore : SettingsStore {
    std::map<std::wstring, std::wstring> values;  // "app/section/key" -> text
    std::vector<std::wstring> reads, writes;      // keys in call order
    std::optional<std::wstring> failReadOn, failWriteOn;
    std::function<void()> failure;  // raised by every read and write

    static std::wstring Path(const std::wstring& a, const std::wstring& s, const std::wstring& k) {
        return a + L"/" + s + L"/" + k;
    }
    std::optional<std::wstring> Read(const std::wstring& a, const std::wstring& s, const std::wstring& k) override {
        reads.push_back(k);
        if (failure) failure();
        if (failReadOn == k) throw RuntimeError{70, L"Store", L"書き込みできません。", L"", 0};
        auto it = values.find(Path(a, s, k));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void Write(const std::wstring& a, const std::wstring& s, const std::wstring& k, const std::wstring& t) override {
        writes.push_back(k);
        if (failure) failure();
        if (failWriteOn == k) throw InvalidCall();
        values[Path(a, s, k)] = t;
    }
    void Put(const std::wstring& key, const std::wstring& text) { values[Path(kStoreApp, kStoreSection, key)] = text; }
    std::wstring Get(const std::wstring& key) const { return values.at(Path(kStoreApp, kStoreSection, key)); }
};

}  // namespace mirobel::testing

// The settings store against the real registry (under Wine's private prefix).
#include "win32/settings/RegistryStore.h"

#include "win32/base/Win32Util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "support/Fakes.h"

using namespace mirobel;

namespace {
const wchar_t* kKey = L"Software\\VB and VBA Program Settings\\SetupVel\\Mirobel";

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\SetupVel");
        before = g_platform.store;
        g_platform.store = &store;
    }
    void TearDown() override {
        g_platform.store = before;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\SetupVel");
    }
    SettingsStore* before = nullptr;

    static void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(k);
    }
    static std::wstring GetRaw(const wchar_t* name, DWORD* type) {
        wchar_t buffer[64] = {};
        DWORD size = sizeof buffer;
        if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY, type, buffer, &size) != ERROR_SUCCESS)
            return L"<missing>";
        return buffer;
    }
    RegistryStore store;
    mirobel::testing::BoxesInstalled boxes;
};
}  // namespace

TEST_F(RegistryStoreTest, MissingSectionOrKeyIsNoFailure) {
    EXPECT_FALSE(store.Read(kStoreApp, kStoreSection, L"speed").has_value());
    const Settings loaded = LoadSettings();
    EXPECT_EQ(loaded.Speed, 3);
    EXPECT_EQ(loaded.SelectEnd, 100);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RegistryStoreTest, SaveWritesSixStringValuesUnderTheClassicKey) {
    const Settings saved{7, 0, 12, 88, 3, 5};
    SaveSettings(saved);
    EXPECT_TRUE(boxes.shown.empty());
    DWORD type = 0;
    EXPECT_EQ(GetRaw(L"saver type", &type), L"7");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(GetRaw(L"music mode", &type), L"0");
    EXPECT_EQ(GetRaw(L"select first", &type), L"12");
    EXPECT_EQ(GetRaw(L"select end", &type), L"88");
    EXPECT_EQ(GetRaw(L"select type", &type), L"3");
    EXPECT_EQ(GetRaw(L"speed", &type), L"5");

    EXPECT_EQ(LoadSettings(), saved);
}

TEST_F(RegistryStoreTest, ReadsTextWrittenByOthersAndReportsWhatIsNotANumber) {
    const wchar_t end[] = L" 43.5 ";
    PutRaw(L"select end", REG_SZ, end, sizeof end);
    EXPECT_EQ(LoadSettings().SelectEnd, 44);
    EXPECT_TRUE(boxes.shown.empty());

    // A value that is not text, as a hand edit may leave, is reported, in
    // the stored language.
    DWORD number = 5;
    PutRaw(L"speed", REG_DWORD, &number, sizeof number);
    const wchar_t japanese[] = L"ja";
    PutRaw(L"language", REG_SZ, japanese, sizeof japanese);
    const Settings loaded = LoadSettings();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, L"エラー");
    EXPECT_EQ(loaded.SelectEnd, 44);
    EXPECT_EQ(loaded.Speed, 3);
}

// Values of every size and type, as another program writing with
// RegSetValueExW may leave them: the read stays within what the system
// returned and finds the text before any terminator.
TEST_F(RegistryStoreTest, TextOfAnySizeIsReadWithinItsBytes) {
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        DWORD type;
        std::optional<std::wstring> expected;
    };
    auto utf16 = [](const std::wstring& text, size_t extraBytes, BYTE fill) {
        std::vector<BYTE> out(text.size() * sizeof(wchar_t));
        std::memcpy(out.data(), text.data(), out.size());
        out.insert(out.end(), extraBytes, fill);
        return out;
    };
    const std::vector<Case> cases = {
        {"no terminator, odd trailing byte", utf16(L"42", 1, '7'), REG_SZ, L"42"},
        {"no terminator, even size", utf16(L"55", 0, 0), REG_SZ, L"55"},
        {"one byte only", {'9'}, REG_SZ, L""},
        {"empty", {}, REG_SZ, L""},
        {"text after an inner terminator", utf16(std::wstring(L"12\0zz", 5), 0, 0), REG_SZ, L"12"},
        {"expandable text", utf16(L"64", 2, 0), REG_EXPAND_SZ, L"64"},
        {"a number stored as DWORD", {5, 0, 0, 0}, REG_DWORD, L""},
        {"binary", {'3', 0, 0, 0}, REG_BINARY, L""},
        {"a value of no type", {}, REG_NONE, L""},
        {"ten thousand characters", utf16(std::wstring(10000, L'8'), 1, 'x'), REG_SZ, std::wstring(10000, L'8')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PutRaw(L"speed", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        EXPECT_EQ(store.Read(kStoreApp, kStoreSection, L"speed"), c.expected);
    }
}

TEST_F(RegistryStoreTest, UnterminatedAndForeignValuesGoThroughTheLoadsOwnChecks) {
    // Unterminated text with an odd byte loads as the number it spells.
    const wchar_t end[] = {L'4', L'2'};
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(end), reinterpret_cast<const BYTE*>(end) + sizeof end);
    bytes.push_back('7');
    PutRaw(L"select end", REG_SZ, bytes.data(), static_cast<DWORD>(bytes.size()));
    EXPECT_EQ(LoadSettings().SelectEnd, 42);
    EXPECT_TRUE(boxes.shown.empty());

    // Binary data is no number: one type-mismatch box, the load stops there.
    const BYTE binary[] = {'3', 0, 0, 0};
    PutRaw(L"speed", REG_BINARY, binary, sizeof binary);
    LoadSettings();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find(L"13"), std::wstring::npos) << boxes.shown[0].text;
}

#include "core/startup/CommandLine.h"

#include <gtest/gtest.h>

using namespace mirobel;

TEST(ArgumentText, DropsProgramPathAndOneSeparatingBlank) {
    EXPECT_EQ(ArgumentText(LR"("C:\Windows\Mirobel.scr" /s)"), L"/s");
    EXPECT_EQ(ArgumentText(LR"(C:\Windows\Mirobel.scr /p 1234)"), L"/p 1234");
    EXPECT_EQ(ArgumentText(LR"("C:\Program Files\Mirobel\Mirobel.scr"  /p 12)"), L" /p 12");
    EXPECT_EQ(ArgumentText(LR"("C:\a b\Mirobel.scr")"), L"");
    EXPECT_EQ(ArgumentText(L"Mirobel.scr"), L"");
    EXPECT_EQ(ArgumentText(L""), L"");
    // An unterminated quote swallows the rest as the program's own path.
    EXPECT_EQ(ArgumentText(LR"("C:\x\Mirobel.scr /s)"), L"");
}

TEST(ModeText, FirstTwoCharactersAfterLeadingBlanks) {
    EXPECT_EQ(ModeText(L"/s"), L"/s");
    EXPECT_EQ(ModeText(L" /s"), L"/s");
    EXPECT_EQ(ModeText(L"/s 5"), L"/s");
    EXPECT_EQ(ModeText(L"/c:1234"), L"/c");
    EXPECT_EQ(ModeText(L"   "), L"");
    EXPECT_EQ(ModeText(L""), L"");
    EXPECT_EQ(ModeText(L"x"), L"x");
}

TEST(ModeOf, ComparesExactlyAndCaseSensitively) {
    EXPECT_EQ(ModeOf(L"/P"), Mode::Preview);
    EXPECT_EQ(ModeOf(L"/p"), Mode::Preview);
    EXPECT_EQ(ModeOf(L"/S"), Mode::Saver);
    EXPECT_EQ(ModeOf(L"/s"), Mode::Saver);
    EXPECT_EQ(ModeOf(L"/C"), Mode::Configure);
    EXPECT_EQ(ModeOf(L"/c"), Mode::Configure);
    EXPECT_EQ(ModeOf(L""), Mode::Configure);
    for (const wchar_t* other : {L"-s", L"s", L"/a", L"/x", L"/", L"//", L"S/", L"／ｓ"})
        EXPECT_EQ(ModeOf(other), Mode::None) << other;
}

TEST(Dispatch, WholeCommandLinesReachTheRightMode) {
    auto mode = [](const std::wstring& cmd) { return ModeOf(ModeText(ArgumentText(cmd))); };
    EXPECT_EQ(mode(L"M.scr /S"), Mode::Saver);
    EXPECT_EQ(mode(L"M.scr  /s"), Mode::Saver);
    EXPECT_EQ(mode(L"M.scr /s 99"), Mode::Saver);
    EXPECT_EQ(mode(L"M.scr /sx"), Mode::Saver);
    EXPECT_EQ(mode(L"M.scr"), Mode::Configure);
    EXPECT_EQ(mode(L"M.scr    "), Mode::Configure);
    EXPECT_EQ(mode(L"M.scr /c:4321"), Mode::Configure);
    EXPECT_EQ(mode(L"M.scr -s"), Mode::None);
    EXPECT_EQ(mode(L"M.scr s"), Mode::None);
}

TEST(HostHandle, ReadFromTheFourthCharacterOfTheUntrimmedText) {
    EXPECT_EQ(HostHandle(L"/p 1234"), 1234);
    EXPECT_EQ(HostHandle(L"/p:1234"), 1234);
    EXPECT_EQ(HostHandle(L"/p1234"), 234);  // the fourth character is '2'
    EXPECT_EQ(HostHandle(L"  /p 1234"), 0);  // fourth character is 'p'
    EXPECT_EQ(HostHandle(L"/p"), 0);
    EXPECT_EQ(HostHandle(L"/p "), 0);
    EXPECT_EQ(HostHandle(L"/p abc"), 0);
    EXPECT_EQ(HostHandle(L"/p 12ab34"), 12);
    EXPECT_EQ(HostHandle(L"/p 1 2 3"), 123);  // blanks inside are skipped
    EXPECT_EQ(HostHandle(L"/p -42"), -42);
    EXPECT_EQ(HostHandle(L"/p 12.5"), 12);  // nearest, half to even
    EXPECT_EQ(HostHandle(L"/p 13.5"), 14);
    EXPECT_EQ(HostHandle(L"/p 2147483647"), 2147483647);
    // Numbers no 32-bit handle can hold give no window rather than a crash.
    EXPECT_EQ(HostHandle(L"/p 99999999999"), 0);
    EXPECT_EQ(HostHandle(L"/p 1e400"), 0);
}

TEST(ReadNumber, StopsAtTheFirstCharacterThatCannotContinue) {
    EXPECT_DOUBLE_EQ(ReadNumber(L"  42"), 42);
    EXPECT_DOUBLE_EQ(ReadNumber(L"\t4\n2x7"), 42);
    EXPECT_DOUBLE_EQ(ReadNumber(L"3.25.5"), 3.25);
    EXPECT_DOUBLE_EQ(ReadNumber(L"1e3"), 1000);
    EXPECT_DOUBLE_EQ(ReadNumber(L"1e"), 1);
    EXPECT_DOUBLE_EQ(ReadNumber(L"+7"), 7);
    EXPECT_DOUBLE_EQ(ReadNumber(L"-"), 0);
    EXPECT_DOUBLE_EQ(ReadNumber(L"."), 0);
    EXPECT_DOUBLE_EQ(ReadNumber(L""), 0);
    EXPECT_DOUBLE_EQ(ReadNumber(L"１２"), 0);  // full-width digits are not digits
}

TEST(FolderWithBackslash, EndsInExactlyOneBackslash) {
    EXPECT_EQ(FolderWithBackslash(LR"(C:\Windows\System32\Mirobel.scr)"), LR"(C:\Windows\System32\)");
    EXPECT_EQ(FolderWithBackslash(LR"(C:\Mirobel.scr)"), LR"(C:\)");
    EXPECT_EQ(FolderWithBackslash(LR"(\\server\share\Mirobel.scr)"), LR"(\\server\share\)");
    EXPECT_EQ(FolderWithBackslash(L"Mirobel.scr"), L"\\");
}

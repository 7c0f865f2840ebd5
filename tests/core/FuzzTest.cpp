// Seeded fuzzing of what the program reads from outside: the command line
// Windows hands it and the texts a settings store holds. The seed is fixed
// so that a failure can be replayed, and printed so that it can be changed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/settings/Settings.h"
#include "core/startup/CommandLine.h"

using namespace mirobel;

namespace {
constexpr unsigned kSeed = 20261208;
constexpr int kRuns = 10000;

// Pieces that the readers treat specially, mixed with plain noise.
const std::vector<std::wstring> kPieces = {
    L"/", L"s", L"S", L"p", L"P", L"c", L"C", L"x", L" ", L"  ", L"\t", L"\r", L"\n", L"\"", L"\"\"",
    L"0", L"1", L"7", L"9", L"42", L"123456", L"4294967295", L"99999999999999999999", L".", L".5", L"-",
    L"+", L"e", L"E", L"d", L"e+", L"e-9", L"E400", L"&H", L"&O", L"&", L"%", L",", L"１", L"２", L"歌",
    L"ﾐﾛﾍﾞﾙ", L"\u3000", L"\u00a0", L"\xd800", L"\xdfff", L"\xfeff", std::wstring(1, L'\0'),
    L"C:\\Windows\\Mirobel.scr", L"\"C:\\Program Files\\Mirobel.scr\"",
};

// Only what a number is made of, so that many texts come close to one.
const std::vector<std::wstring> kNumberPieces = {L"0", L"3", L"42", L"32767", L"32768", L"-", L"+", L".", L"5",
                                                 L"e", L"E", L"1", L" ", L"\t", L"99999", L"e2"};

std::wstring GenerateNumberLike(std::mt19937& random) {
    std::uniform_int_distribution<int> pieces(1, 6), pick(0, static_cast<int>(kNumberPieces.size()) - 1);
    std::wstring text;
    for (int n = pieces(random); n > 0; --n) text += kNumberPieces[pick(random)];
    return text;
}

std::wstring Generate(std::mt19937& random) {
    std::uniform_int_distribution<int> pieces(0, 12), pick(0, static_cast<int>(kPieces.size()) - 1);
    std::uniform_int_distribution<int> noise(1, 0xFFFF), kind(0, 9);
    std::wstring text;
    for (int n = pieces(random); n > 0; --n) {
        if (kind(random) == 0) text += static_cast<wchar_t>(noise(random));
        else text += kPieces[pick(random)];
    }
    if (kind(random) == 0) text += std::wstring(30000, L'9');  // very long lines
    return text;
}

std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text.substr(0, 80)) {
        if (c >= 32 && c < 127) out += static_cast<char>(c);
        else {
            char buf[12];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}
}  // namespace

TEST(Fuzz, CommandLinesAlwaysGiveOneOfTheFourModesAndAHandleThatFits) {
    std::printf("command-line fuzz seed %u, %d runs\n", kSeed, kRuns);
    std::mt19937 random(kSeed);
    for (int run = 0; run < kRuns; ++run) {
        // Half of the lines are built around a real mode switch, so that the
        // handle reader sees every kind of number after it.
        std::wstring line = Generate(random);
        if (run % 2 == 0) line = L"Mirobel.scr " + std::wstring(run % 4 == 0 ? L"/p " : L"/S") + line;
        SCOPED_TRACE(Printable(line));

        std::wstring arguments = ArgumentText(line);
        ASSERT_LE(arguments.size(), line.size());
        ASSERT_EQ(line.compare(line.size() - arguments.size(), arguments.size(), arguments), 0)
            << "the argument text is the end of the line";
        std::wstring mode = ModeText(arguments);
        ASSERT_LE(mode.size(), 2u);
        Mode m = ModeOf(mode);
        ASSERT_TRUE(m == Mode::Preview || m == Mode::Saver || m == Mode::Configure || m == Mode::None);
        if (m == Mode::Configure) {
            ASSERT_TRUE(mode.empty() || mode == L"/c" || mode == L"/C");
        }

        int32_t handle = HostHandle(arguments);
        if (handle != 0) {
            // A handle is what the number after the switch says, never a
            // wrapped-around part of a larger one.
            double said = std::nearbyint(ReadNumber(arguments.substr(3)));
            ASSERT_EQ(static_cast<double>(handle), said);
        }
    }
}

TEST(Fuzz, DecimalHandlesAfterTheSwitchAreReadExactlyOrAsZero) {
    std::mt19937 random(kSeed + 1);
    std::uniform_int_distribution<int64_t> number(-(int64_t{1} << 33), int64_t{1} << 33);
    for (int run = 0; run < kRuns; ++run) {
        int64_t n = number(random);
        int32_t handle = HostHandle(L"/p " + std::to_wstring(n));
        if (n >= INT32_MIN && n <= INT32_MAX) {
            ASSERT_EQ(handle, n);
        } else {
            ASSERT_EQ(handle, 0) << n;
        }
    }
}

TEST(Fuzz, StoredTextsGiveAValueOrErrorThirteenOrSixAndNothingElse) {
    std::printf("stored-text fuzz seed %u, %d runs\n", kSeed, kRuns);
    std::mt19937 random(kSeed + 2);
    int values = 0, mismatches = 0, overflows = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::wstring text = run % 2 ? Generate(random) : GenerateNumberLike(random);
        SCOPED_TRACE(Printable(text));
        try {
            int16_t v = SettingFromText(text);
            // What was read is what is written back, and reads the same.
            ASSERT_EQ(SettingFromText(SettingToText(v)), v);
            ++values;
        } catch (const RuntimeError& e) {
            ASSERT_TRUE(e.number == 13 || e.number == 6) << e.number;
            (e.number == 13 ? mismatches : overflows)++;
        } catch (...) {
            FAIL() << "an exception that is not a run-time error";
        }
    }
    std::printf("values %d, type mismatches %d, overflows %d\n", values, mismatches, overflows);
    // The generator must reach every outcome, or the test proves little.
    EXPECT_GT(values, 500);
    EXPECT_GT(mismatches, 1000);
    EXPECT_GT(overflows, 100);
}

TEST(Fuzz, WholeNumbersInSixteenBitsReadAsThemselvesAndOthersOverflow) {
    std::mt19937 random(kSeed + 3);
    std::uniform_int_distribution<int> number(-100000, 100000), blanks(0, 3);
    for (int run = 0; run < kRuns; ++run) {
        int n = number(random);
        std::wstring text = std::wstring(blanks(random), L' ') + std::to_wstring(n) + std::wstring(blanks(random), L' ');
        if (n >= -32768 && n <= 32767) {
            ASSERT_EQ(SettingFromText(text), n);
        } else {
            try {
                SettingFromText(text);
                FAIL() << n << " read without overflow";
            } catch (const RuntimeError& e) {
                ASSERT_EQ(e.number, 6);
            }
        }
    }
}

#include "core/companions/CompanionRules.h"

#include "core/poems/Kimariji.h"
#include "core/poems/Poems.h"

namespace mirobel {

// --- commentary viewer -------------------------------------------------

std::wstring ChooserEntryText(int k) {
    const std::wstring& record = PoemTable(k + 1);
    return L" " + std::to_wstring(k + 1) + L"  " + GetField(record, 1, L",") + L" " + GetField(record, 2, L",");
}

CommentaryTexts CommentaryFor(int poemNo) {
    const std::wstring& record = PoemTable(poemNo);
    auto field = [&](int16_t n) { return GetField(record, n, L","); };
    CommentaryTexts t;
    t.upper = field(1) + L" " + field(2) + L" " + field(3);
    t.lower = field(4) + L" " + field(5);
    t.poet = field(6);
    const std::wstring& comment = CommentTable(poemNo);
    // From the fifth character on, at most 500: the marker goes, the
    // rendering stays whole (none comes near the limit).
    t.comment = comment.size() > 4 ? comment.substr(4, 500) : std::wstring();
    const Kimariji& k = KimarijiOf(poemNo);
    t.kimariji = {L"決まり字「", k.written, L"」"};
    return t;
}

int ChosenEntry(int selected) { return selected < 0 ? 0 : selected; }

// --- help window ---------------------------------------------------------

// --- software introduction window ---------------------------------------

CyclistPlace CyclistStart(int i) { return {240.0 - 32.0 * i, 300 - 8 * i}; }

double CyclistStep(double left, double r, int twipsPerPixel) {
    double t = twipsPerPixel;
    left -= r * 200.0 / t;
    if (left < 100.0 / t) left = kCyclistWrapLeft;
    return left;
}

void CyclistsTick(CyclistPlace (&cyclists)[kCyclists], RandomSource& random, int twipsPerPixel) {
    random.Reseed();
    for (CyclistPlace& c : cyclists) c.left = CyclistStep(c.left, random.Next(), twipsPerPixel);
}

}  // namespace mirobel

// mirobel: the show of the hundred poems as an XScreenSaver hack.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "core/poems/Poems.h"
#include "core/poems/StudySets.h"
#include "x11/app/Options.h"
#include "x11/app/XShow.h"

using namespace mirobel;
using namespace mirobel::x11;

int main(int argc, char** argv) {
    auto parsed = ParseOptions(argc, argv);
    if (auto* message = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "mirobel: %s\n%s", message->c_str(), Usage().c_str());
        return 2;
    }
    Options& options = std::get<Options>(parsed);
    // The options that print something instead of showing, in this order.
    const std::pair<bool, std::string (*)()> printed[] = {{options.help, Usage},
                                                          {options.listKimariji, KimarijiList},
                                                          {options.listSets, StudySetsText},
                                                          {options.listRenderings, EnglishRenderingList}};
    for (const auto& [asked, text] : printed) {
        if (!asked) continue;
        std::fputs(text().c_str(), stdout);
        return 0;
    }
    options.settings.language =
        ChosenLanguage(options, std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    auto placement = ChooseTarget(options, std::getenv("XSCREENSAVER_WINDOW"));
    if (auto* message = std::get_if<std::string>(&placement)) {
        std::fprintf(stderr, "mirobel: %s\n", message->c_str());
        return 2;
    }
    return RunShow(options, std::get<Placement>(placement));
}

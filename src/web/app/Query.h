// The page's settings, read from its address's query
// (?speed=3&order=random&first=1&last=100&seed=7&scale=150&kimariji=1&lang=en&saver)
// with the options' table (core/startup/OptionTable.h). Plain C++: no browser
// here, so that it is tested natively.
#pragma once
#include <string_view>

#include "core/startup/OptionTable.h"

namespace mirobel::web {

// Never fails: a value that is missing, malformed or out of range keeps its
// default, as the stored settings do; a range whose first comes after its
// last is the whole range. Unknown names are ignored. Without lang= the
// show speaks the browser's language (navigator.language).
Options ParseQuery(std::string_view query, std::string_view browserLanguage);

}  // namespace mirobel::web

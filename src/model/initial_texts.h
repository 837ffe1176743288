// The texts the main window's controls show when it opens, before start-up
// replaces some of them. Memos hold their lines joined by "\n".
#pragma once

#include <string_view>

#include "base/version.h"
#include "model/control.h"

namespace vantel {

inline constexpr std::string_view Application_title = "Vantel calculator";
inline constexpr std::string_view Window_caption = "Vantel calculator " VANTEL_VERSION;

std::string_view initial_text(Control control);

}  // namespace vantel

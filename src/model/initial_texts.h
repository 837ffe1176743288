// The texts the main window's controls show when it opens, before start-up
// replaces some of them. Memos hold their lines joined by "\n".
#pragma once

#include <string_view>

#include "base/version.h"
#include "model/control.h"

namespace vantel {

inline constexpr std::string_view Application_title = "Vantel calculator";
inline constexpr std::string_view Window_caption = "Vantel calculator 1.0.0.4";
static_assert(Window_caption.ends_with(Program_version));

std::string_view initial_text(Control control);

}  // namespace vantel

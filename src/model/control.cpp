#include "model/control.h"

#include <array>

namespace vantel {

std::string_view control_name(Control control)
{
    static constexpr std::array<std::string_view, Control_count> names = {
#define VANTEL_NAME_ITEM(name) #name,
        VANTEL_CONTROLS(VANTEL_NAME_ITEM)
#undef VANTEL_NAME_ITEM
    };
    const auto index = static_cast<std::size_t>(control);
    return index < names.size() ? names[index] : std::string_view("?");
}

}  // namespace vantel

#include "series/text_kind.h"

#include <algorithm>

namespace vantel {

namespace {

// ASCII text in UTF-16 puts a NUL byte beside every character: after it
// (little-endian) or before it (big-endian).
bool nul_at_every_other_byte(std::string_view head)
{
    const std::size_t pairs = std::min<std::size_t>(head.size() / 2, 32);
    if (pairs < 2) return false;
    bool little = true;
    bool big = true;
    for (std::size_t i = 0; i < pairs; ++i) {
        const bool first_nul = head[2 * i] == '\0';
        const bool second_nul = head[2 * i + 1] == '\0';
        little = little && !first_nul && second_nul;
        big = big && first_nul && !second_nul;
    }
    return little || big;
}

bool is_control_byte(unsigned char c)
{
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F;
}

}  // namespace

Text_kind text_kind_of(std::string_view head)
{
    head = head.substr(0, Text_kind_head_bytes);
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF") || nul_at_every_other_byte(head))
        return Text_kind::utf16;
    if (head.starts_with("\x7F" "ELF")) return Text_kind::not_text;
    // Text has a stray control byte now and then (a form feed, a DOS end
    // mark); other files have them everywhere.
    const auto controls = static_cast<std::size_t>(std::count_if(
        head.begin(), head.end(), [](char c) { return is_control_byte(static_cast<unsigned char>(c)); }));
    if (controls >= 2 && controls * 20 > head.size()) return Text_kind::not_text;
    return Text_kind::plain;
}

}  // namespace vantel

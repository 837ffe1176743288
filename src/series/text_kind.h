// What a file's first bytes say it is: plain text, UTF-16 text, or no text
// at all. A data file is meant to be plain text; the other two would be
// read as a line or two of odd bytes, so the readers tell them apart.
#pragma once

#include <cstddef>
#include <string_view>

namespace vantel {

enum class Text_kind {
    plain,     // nothing odd in the first bytes
    utf16,     // a UTF-16 byte-order mark, or NUL bytes at every other position
    not_text,  // an executable, or many control bytes
};

// How many bytes from the start of a file decide its kind.
inline constexpr std::size_t Text_kind_head_bytes = 4096;

// The kind of a file whose first bytes (at most Text_kind_head_bytes of
// them; fewer when the file is shorter) are `head`:
// - utf16 when it starts with FF FE or FE FF, or when its first pairs of
//   bytes (up to 32 of them, at least 2) all hold one NUL and one other byte
//   on the same side;
// - not_text when it starts with an executable's magic number 7F "ELF", or
//   when more than 1 in 20 of its bytes (and at least 2) are control bytes
//   other than tab, CR and LF (00..08, 0B, 0C, 0E..1F, 7F);
// - plain otherwise. A single NUL byte further in leaves a file plain: the
//   reader tells where it ends the text.
Text_kind text_kind_of(std::string_view head);

}  // namespace vantel

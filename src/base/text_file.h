// Small text files read whole (the init file, the T-pattern), and splitting
// a text into lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

namespace vantel {

// The init file and the T-pattern need a few kilobytes; a file of more than
// 16 MiB (16777216 bytes) in their place is refused rather than read whole.
inline constexpr std::size_t Max_text_file_bytes = std::size_t{1} << 24;

// The error raised when a file cannot be opened: the full path and the
// system's reason.
Vantel_error cannot_open_error(const std::string& path, int error_number);

// Loads the whole file; throws Vantel_error("Cannot open file ...") when it
// cannot be opened, "Stream read error" when reading it fails, and
// `File "<path>" is too large: it may hold at most 16777216 bytes (16 MiB)`
// beyond the limit above (for a device, once that much has been read).
std::string load_text_file(const std::string& path);

// Lines end at CR LF, CR or LF; a final line break does not start an empty
// line.
std::vector<std::string> split_lines(std::string_view text);

}  // namespace vantel

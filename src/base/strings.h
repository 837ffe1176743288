// Small text helpers shared by every layer.
#pragma once

#include <string>
#include <string_view>

namespace vantel {

// `text` with every occurrence of `piece` removed, in one pass from the left
// (pieces that only form once others are gone stay).
inline std::string remove_every(std::string_view text, std::string_view piece)
{
    std::string rest;
    std::size_t from = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos; at = text.find(piece, from)) {
        rest.append(text.substr(from, at - from));
        from = at + piece.size();
    }
    rest.append(text.substr(from));
    return rest;
}

// A file's name without its folder: the part after the last "/" (this
// platform's separator), "\" or ":".
inline std::string file_name_part(std::string_view path)
{
    const auto last = path.find_last_of("/\\:");
    return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

// The folder with a final '/', unless it is empty.
inline std::string with_slash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace vantel

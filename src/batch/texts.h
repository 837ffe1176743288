// Small text helpers of the batches.
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
    for (std::size_t at = text.find(piece); at != std::string_view::npos;
         at = text.find(piece, from)) {
        rest.append(text.substr(from, at - from));
        from = at + piece.size();
    }
    rest.append(text.substr(from));
    return rest;
}

}  // namespace vantel

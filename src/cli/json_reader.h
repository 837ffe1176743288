// A small reader of JSON, for the records an earlier run of the command
// wrote (--resume): objects, arrays, strings, numbers, true, false, null.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantel::cli {

struct Json_value {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    std::string text;  // a string's contents, or a number or boolean as written
    std::vector<Json_value> items;
    std::vector<std::pair<std::string, Json_value>> members;

    // The member of that name; nothing when there is none.
    const Json_value* member(std::string_view name) const;
};

// The value the whole text holds (blanks around it allowed); nothing when
// the text is not one JSON value.
std::optional<Json_value> read_json(std::string_view text);

}  // namespace vantel::cli

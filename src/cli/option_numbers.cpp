#include "cli/option_numbers.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace vantel::cli {

Number whole_number(const std::string& text, int& value)
{
    if (text.empty()) return Number::not_number;
    // strtol also takes leading blanks and a '+'; an argument is plainer.
    if (text.front() != '-' && (text.front() < '0' || text.front() > '9')) return Number::not_number;
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || end == text.c_str() || (text.front() == '-' && text.size() == 1)) return Number::not_number;
    if (errno == ERANGE || read < INT_MIN || read > INT_MAX) return Number::out_of_range;
    value = static_cast<int>(read);
    return Number::ok;
}

bool parse_number_list(const std::string& text, std::vector<int>& numbers)
{
    std::vector<int> read;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        const std::string item = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        const std::size_t dash = item.find('-', 1);
        int first = 0;
        int last = 0;
        if (dash == std::string::npos) {
            if (whole_number(item, first) != Number::ok) return false;
            last = first;
        } else if (whole_number(item.substr(0, dash), first) != Number::ok ||
                   whole_number(item.substr(dash + 1), last) != Number::ok || last < first ||
                   last - first > 100000) {
            return false;
        }
        // A wider counter: at INT_MAX an int one would wrap and never end.
        for (long long k = first; k <= last; ++k) read.push_back(static_cast<int>(k));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    numbers = std::move(read);
    return true;
}

}  // namespace vantel::cli

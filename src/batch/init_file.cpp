#include "batch/init_file.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "series/text_readers.h"

namespace vantel {

namespace {

// A line shown in a message: a very long one only by its start.
constexpr std::size_t Longest_quoted_line = 60;

std::string quoted(std::string_view line)
{
    if (line.size() <= Longest_quoted_line) return "\"" + std::string(line) + "\"";
    return "\"" + std::string(line.substr(0, Longest_quoted_line)) + "...\" (" + std::to_string(line.size()) +
           " characters)";
}

bool whole_number_in(std::string_view text, std::int32_t low, std::int32_t high)
{
    const std::optional<std::int32_t> value = read_whole_integer(text);
    return value && *value >= low && *value <= high;
}

bool is_epoch_count(std::string_view line)
{
    return whole_number_in(line, 1, INT32_MAX);
}

bool is_auto_line(std::string_view line)
{
    return line == "AUTO=NO" || line == "AUTO=YES";
}

bool is_method_line(std::string_view line)
{
    return line.size() == 8 && line.starts_with("METHOD=") && line[7] >= '1' && line[7] <= '6';
}

bool is_length_line(std::string_view line)
{
    return line.starts_with("N=") && whole_number_in(line.substr(2), 5, 19625);
}

bool is_path_line(std::string_view line)
{
    return line.starts_with("Path=");
}

struct Line_rule {
    bool (*holds)(std::string_view line);
    const char* is_not;    // what the line is not, when it does not hold
    const char* expected;  // and what is expected there
};

const Line_rule Rules[Init_file_lines] = {
    {is_epoch_count, "an epoch count",
     "a whole number of 1 or more is expected (the epochs of each column's first run)"},
    {is_epoch_count, "an epoch count",
     "a whole number of 1 or more is expected (the epochs of each column's second run)"},
    {is_auto_line, "an automatic-start line", "AUTO=NO or AUTO=YES is expected"},
    {is_method_line, "a fill-method line", "METHOD=1 to METHOD=6 is expected"},
    {is_length_line, "a series-length line", "N= followed by a whole number from 5 to 19625 is expected"},
    {is_path_line, "an MNIST-folder line",
     "Path= followed by the MNIST folder is expected (Path= alone: MNIST_10/ next to the program)"},
};

}  // namespace

std::vector<std::string> init_file_problems(const std::string& path, const std::vector<std::string>& lines)
{
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < Init_file_lines && i < lines.size(); ++i) {
        const Line_rule& rule = Rules[i];
        if (!rule.holds(lines[i]))
            problems.push_back(path + " line " + std::to_string(i + 1) + ": " + quoted(lines[i]) + " is not " +
                               rule.is_not + ": " + rule.expected);
    }
    if (lines.size() < Init_file_lines)
        problems.push_back(path + " holds " + std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
                           ": " + std::to_string(Init_file_lines) + " are expected");
    return problems;
}

}  // namespace vantel

#include "engine/t_pattern_reader.h"

#include "engine/input_vector.h"

namespace vantel {

namespace {

constexpr std::size_t Longest_token = 32;

bool is_blank_or_control(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// Optional sign, then decimal digits only, within the 32-bit range.
bool parse_decimal(std::string_view token, std::int32_t& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    if (i == token.size()) return false;
    std::int64_t magnitude = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') return false;
        magnitude = magnitude * 10 + (token[i] - '0');
        if (magnitude > 2147483648LL) return false;
    }
    const std::int64_t signed_value = negative ? -magnitude : magnitude;
    if (signed_value > 2147483647LL) return false;
    value = static_cast<std::int32_t>(signed_value);
    return true;
}

}  // namespace

Integer_text_reader::Integer_text_reader(std::string text) : text_(std::move(text)) {}

void Integer_text_reader::step_over_line_break()
{
    if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
    ++at_;
    ++line_;
}

std::optional<std::int32_t> Integer_text_reader::read_integer()
{
    hit_end_ = false;
    while (at_ < text_.size() && is_blank_or_control(text_[at_])) {
        if (text_[at_] == '\r' || text_[at_] == '\n')
            step_over_line_break();
        else
            ++at_;
    }
    token_line_ = line_;
    if (at_ == text_.size()) {
        hit_end_ = true;
        token_ = {};
        return 0;
    }
    const std::size_t start = at_;
    while (at_ < text_.size() && !is_blank_or_control(text_[at_]) && at_ - start < Longest_token)
        ++at_;
    token_ = std::string_view(text_).substr(start, at_ - start);
    std::int32_t value = 0;
    if (!parse_decimal(token_, value)) return std::nullopt;
    return value;
}

void Integer_text_reader::skip_line()
{
    while (at_ < text_.size() && text_[at_] != '\r' && text_[at_] != '\n') ++at_;
    if (at_ < text_.size()) step_over_line_break();
}

int Integer_text_reader::lines_with_text(int& first_line)
{
    int count = 0;
    first_line = 0;
    bool counted = false;  // the current line is counted already
    for (; at_ < text_.size(); ++at_) {
        const char c = text_[at_];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ++at_;
            ++line_;
            counted = false;
        } else if (!counted && !is_blank_or_control(c)) {
            if (count++ == 0) first_line = line_;
            counted = true;
        }
    }
    return count;
}

T_pattern_report read_t_pattern(std::string text, T_pair (&table)[Last_input + 1])
{
    T_pattern_report report;
    Integer_text_reader in(std::move(text));
    // Stores the next number, or notes where the text stopped being one.
    const auto read = [&in, &report](std::int32_t& into) {
        const std::optional<std::int32_t> value = in.read_integer();
        if (!value) {
            report.invalid_line = in.token_line();
            report.invalid_text = std::string(in.token());
            return false;
        }
        into = *value;
        return true;
    };
    if (!read(report.count)) return report;
    // The table has one entry per input; a longer pattern has no place to go.
    if (report.count > Last_input) {
        report.refused = true;
        return report;
    }
    in.skip_line();
    for (std::int32_t m = 1; m <= report.count; ++m) {
        if (!read(table[m].row)) return report;
        bool ran_out = in.hit_end();
        const int line = in.token_line();
        if (!read(table[m].column)) return report;
        ran_out = ran_out || in.hit_end();
        in.skip_line();
        if (ran_out) {
            if (!report.ended_early) {
                report.ended_early = true;
                report.pairs_read = m - 1;
            }
            continue;
        }
        if (!inside_image(table[m]) && report.first_bad_line == 0) {
            report.first_bad_line = line;
            report.first_bad_pair = table[m];
        }
    }
    if (!report.ended_early) report.pairs_read = report.count > 0 ? report.count : 0;
    report.unread_lines = in.lines_with_text(report.first_unread_line);
    return report;
}

namespace {

std::string quoted(std::string_view name)
{
    return "\"" + std::string(name) + "\"";
}

std::string pairs(std::int32_t count)
{
    return std::to_string(count) + (count == 1 ? " pair" : " pairs");
}

}  // namespace

std::string t_pattern_error(const T_pattern_report& report, std::string_view shown_name)
{
    if (report.invalid_line == 0) return {};
    return quoted(shown_name) + " line " + std::to_string(report.invalid_line) + ": \"" + report.invalid_text +
           "\" is not a whole number";
}

std::string t_pattern_warning(const T_pattern_report& report, std::string_view shown_name, T_pattern_use use)
{
    const std::string name = quoted(shown_name);
    const std::string inputs = std::to_string(Last_input);
    const bool window = use == T_pattern_use::window_goes_on;
    std::string warning;
    // Each fault with what the window does about it; the computation refuses
    // the file once, after the faults.
    const auto add = [&warning, window](const std::string& fault, const std::string& in_the_window) {
        if (!warning.empty()) warning += '\n';
        warning += fault;
        if (window) warning += "; " + in_the_window;
    };
    if (report.refused) {
        add(name + " announces " + pairs(report.count) + ", more than the " + inputs + " inputs",
            "the file is not used and the T-pattern stays as it was");
    } else {
        if (report.first_bad_line != 0)
            add(name + " line " + std::to_string(report.first_bad_line) + ": row " +
                    std::to_string(report.first_bad_pair.row) + ", column " +
                    std::to_string(report.first_bad_pair.column) +
                    " is outside the image, whose rows and columns are 1.." + std::to_string(Image_side),
                "the inputs of such entries will be 0");
        if (report.ended_early)
            add(name + " ends after " + std::to_string(report.pairs_read) + " of its " + pairs(report.count),
                "the missing numbers read as 0, so the inputs of those entries will be 0");
        if (report.count < Last_input)
            add(name + " announces " + pairs(report.count) + " instead of " + inputs,
                "the entries without a line keep their previous value (0 before the first load)");
        if (report.unread_lines > 0)
            add(name + " announces " + pairs(report.count) + ", but " + std::to_string(report.unread_lines) +
                    (report.unread_lines == 1 ? " more line follows on line " : " more lines follow from line ") +
                    std::to_string(report.first_unread_line) + (report.unread_lines == 1 ? "" : " on"),
                report.unread_lines == 1 ? "it is not read" : "they are not read");
    }
    if (!warning.empty() && !window)
        warning += '\n' + name + " is refused: it must give each of the " + inputs + " inputs a row and a column of 1.." +
                   std::to_string(Image_side) + ", one pair per line after the count";
    return warning;
}

}  // namespace vantel

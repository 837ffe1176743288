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

std::int32_t Integer_text_reader::read_integer()
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
        return 0;
    }
    const std::size_t start = at_;
    while (at_ < text_.size() && !is_blank_or_control(text_[at_]) && at_ - start < Longest_token)
        ++at_;
    std::int32_t value = 0;
    if (!parse_decimal(std::string_view(text_).substr(start, at_ - start), value))
        throw Vantel_error("Invalid numeric input");
    return value;
}

void Integer_text_reader::skip_line()
{
    while (at_ < text_.size() && text_[at_] != '\r' && text_[at_] != '\n') ++at_;
    if (at_ < text_.size()) step_over_line_break();
}

T_pattern_report read_t_pattern(std::string text, T_pair (&table)[Last_input + 1])
{
    T_pattern_report report;
    Integer_text_reader in(std::move(text));
    report.count = in.read_integer();
    // The table has one entry per input; a longer pattern has no place to go.
    if (report.count > Last_input) {
        report.refused = true;
        return report;
    }
    in.skip_line();
    for (std::int32_t m = 1; m <= report.count; ++m) {
        table[m].row = in.read_integer();
        bool ran_out = in.hit_end();
        const int line = in.token_line();
        table[m].column = in.read_integer();
        ran_out = ran_out || in.hit_end();
        in.skip_line();
        if (ran_out) {
            if (!report.ended_early) {
                report.ended_early = true;
                report.pairs_read = m - 1;
            }
            continue;
        }
        if (!inside_image(table[m]) && report.first_bad_line == 0) report.first_bad_line = line;
    }
    if (!report.ended_early) report.pairs_read = report.count > 0 ? report.count : 0;
    return report;
}

std::string t_pattern_warning(const T_pattern_report& report, std::string_view shown_name)
{
    const std::string name(shown_name);
    const std::string inputs = std::to_string(Last_input);
    if (report.refused)
        return name + " announces " + std::to_string(report.count) + " pairs, more than the " +
               inputs + " inputs; the file is not used and the T-pattern stays as it was";
    std::string warning;
    const auto add = [&warning](const std::string& sentence) {
        if (!warning.empty()) warning += '\n';
        warning += sentence;
    };
    if (report.first_bad_line != 0)
        add(name + " line " + std::to_string(report.first_bad_line) +
            ": row and column must be 1..28; the inputs of such entries will be 0");
    if (report.ended_early)
        add(name + " ends after " + std::to_string(report.pairs_read) + " of its " +
            std::to_string(report.count) +
            " pairs; the missing numbers read as 0, so the inputs of those entries will be 0");
    if (report.count < Last_input)
        add(name + " announces " + std::to_string(report.count) + " pairs instead of " + inputs +
            "; the entries without a line keep their previous value (0 before the first load)");
    return warning;
}

}  // namespace vantel

// A data file from any bytes, read from disk in small pieces and compared
// with the same bytes split in memory, its columns counted and cut out, then
// opened and extracted through the "Open file" and "Show" handlers with
// fuzzed texts in "Column" and in the init file's N line.
//
// The same bytes also go through the series reader: a file that is not
// plain text is refused, and a column of any other reads the values of
// "Show" bit for bit, a field that is not a number among them as 0.
//
// Input, as FuzzedDataProvider takes it: the read size from the last byte;
// from the front the column text and the N line, each ended by a backslash
// and another character; the rest of the front is the file.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "app/handlers.h"
#include "model/memory_window.h"
#include "model/session.h"
#include "fuzz_support.h"
#include "series/data_file.h"
#include "series/series_reader.h"
#include "series/text_readers.h"

namespace {

using namespace vantel;

// How much of a file the line-by-line checks look at.
constexpr std::size_t Lines_checked = 64;
constexpr std::int32_t Columns_checked = 64;

void check_field(std::string_view line, std::int32_t column, std::int32_t count)
{
    const std::string_view field = field_text(line, column);
    if (line.empty()) {
        FUZZ_CHECK(field == "0");
        return;
    }
    // A view into the line itself, never beyond it.
    FUZZ_CHECK(field.data() >= line.data() && field.data() + field.size() <= line.data() + line.size());
    if (column >= 1 && column <= count) FUZZ_CHECK(field.find('\t') == std::string_view::npos);
    try {
        parse_number(field);
    } catch (const Vantel_error& error) {
        FUZZ_CHECK(std::string(error.what()) == "Floating point overflow");
    }
}

void check_lines(const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < lines.size() && i < Lines_checked; ++i) {
        const std::string& line = lines[i];
        FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        const std::int32_t count = column_count(line);
        const auto tabs = static_cast<std::int32_t>(std::count(line.begin(), line.end(), '\t'));
        FUZZ_CHECK(count >= tabs && count <= tabs + 1);
        FUZZ_CHECK((count == 0) == line.empty());
        for (std::int32_t c = 1; c <= count + 1 && c <= Columns_checked; ++c) check_field(line, c, count);
        for (std::int32_t c : {0, -1, INT32_MIN, INT32_MAX}) check_field(line, c, count);
    }
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The value "Show" reads from a field, or nothing for the overflow.
std::optional<double> shown_value(std::string_view field)
{
    try {
        return parse_number(field);
    } catch (const Vantel_error&) {
        return std::nullopt;
    }
}

void check_table(const Data_text& text)
{
    const bool plain = text.kind == Text_kind::plain && text.nul_line == 0;
    std::optional<Data_table> table;
    try {
        table = data_table("data.txt", text);
    } catch (const Vantel_error&) {
    }
    FUZZ_CHECK(table.has_value() == plain);
    if (!table) return;
    for (const std::string& warning : table->warnings) FUZZ_CHECK(warning.starts_with("data.txt"));

    const std::size_t count = std::min(table->lines.size(), Lines_checked);
    for (std::int32_t column = 1; column <= std::max(table->column_count, 1) + 1 && column <= 8; ++column) {
        std::optional<Column_read> read;
        try {
            read = read_column(*table, column, 1, count);
        } catch (const Vantel_error& error) {
            FUZZ_CHECK(std::string(error.what()).ends_with(": Floating point overflow"));
        }
        bool overflow = false;
        for (std::size_t k = 0; k < count; ++k) {
            const std::string_view field = field_text(table->lines[k], column);
            const auto value = shown_value(field);
            overflow = overflow || !value;
            if (!read || !value) continue;
            FUZZ_CHECK(same_bits(read->values[k], *value));
            if (!is_number_text(field)) FUZZ_CHECK(*value == 0.0);
        }
        FUZZ_CHECK(read.has_value() == !overflow);
        if (!read) continue;
        FUZZ_CHECK(read->values.size() == count && read->not_numbers <= count);
        FUZZ_CHECK(not_number_warning(*table, *read).has_value() == (read->not_numbers != 0));
    }
}

void check_extraction(const std::string& path, const std::string& column_text, const std::string& n_line,
                      std::size_t line_count)
{
    static const auto state = std::make_unique<Program_state>();
    Memory_window window;
    Session session(*state, window);
    session.timings = {0, 0};
    install_handlers(session);
    window.set_lines(Control::Memo3, {"100", "20", "AUTO=NO", "METHOD=5", n_line, "Path="});
    window.set_text(Control::Edit_column, column_text);
    window.answer_dialog(path);
    session.click(Control::Open_file_button);

    const Series_input& series = state->series;
    // An overflow ends "Show" and the opening that triggered it; the button
    // that the opening disabled stays so.
    const bool overflow = window.errors == std::vector<std::string>{"Floating point overflow."};
    FUZZ_CHECK(window.errors.empty() || overflow);
    FUZZ_CHECK(window.enabled(Control::Open_file_button) == !overflow);
    FUZZ_CHECK(series.Data_lines && series.Data_lines->size() == line_count);
    FUZZ_CHECK(series.N >= 5 && series.N <= Max_N);
    FUZZ_CHECK(series.N == 5 || static_cast<std::size_t>(series.N) <= line_count);
    FUZZ_CHECK(window.text(Control::Edit_N) == std::to_string(series.N));
    if (series.Preview_count < 5) return;
    FUZZ_CHECK(series.Column_index >= 1 && series.Column_index <= std::max(series.Column_count, 1));
    for (int k = series.N + 1; k <= Max_N; ++k) FUZZ_CHECK(series.xn[k] == 0.0);
    if (window.errors.empty())
        FUZZ_CHECK(window.lines(Control::Memo_xn).size() == static_cast<std::size_t>(std::min(series.N, 30)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    // Small reads put line breaks and NUL bytes across two of them.
    const auto chunk_bytes = input.ConsumeIntegralInRange<std::size_t>(1, 64);
    const std::string column_text = input.ConsumeRandomLengthString(24);
    const std::string n_line = input.ConsumeRandomLengthString(24);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    const std::string path = fuzz::scratch_dir() + "data.txt";
    fuzz::write_file(path, bytes);

    const std::vector<std::string> lines = read_data_file(path, chunk_bytes);
    FUZZ_CHECK(lines == split_data_text(bytes));
    const Data_text text = read_data_text(path, chunk_bytes);
    const Data_text examined = examine_data_text(bytes);
    FUZZ_CHECK(text.lines == lines && examined.lines == lines);
    FUZZ_CHECK(text.kind == examined.kind && text.nul_line == examined.nul_line);
    check_lines(lines);
    check_table(examined);
    check_extraction(path, column_text, n_line, lines.size());
    return 0;
}

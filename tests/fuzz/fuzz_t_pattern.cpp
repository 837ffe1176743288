// The T-pattern reader over any text. The table is never written outside the
// entries the first line announces, a refused pattern leaves it alone, a
// text that is not a whole number stops the reading with an error that names
// the file and the line, and the warning to the user is empty exactly when
// the pattern fills all 784 inputs with nothing left over, whoever reads it.
#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/t_pattern_reader.h"
#include "fuzz_support.h"

namespace {

constexpr vantel::T_pair Untouched{-77, 77};

bool untouched(const vantel::T_pair& pair)
{
    return pair.row == Untouched.row && pair.column == Untouched.column;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vantel;
    const std::string text(reinterpret_cast<const char*>(data), size);
    static T_pair table[Last_input + 1];
    std::fill(std::begin(table), std::end(table), Untouched);

    const T_pattern_report report = read_t_pattern(text, table);
    FUZZ_CHECK(untouched(table[0]));
    const int line_breaks = static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                                             std::count(text.begin(), text.end(), '\r'));
    const std::string name = "T_pattern/T-pattern-3.VM";
    const std::string error = t_pattern_error(report, name);
    if (report.invalid_line != 0) {
        FUZZ_CHECK(report.invalid_line >= 1 && report.invalid_line <= line_breaks + 1);
        FUZZ_CHECK(!report.invalid_text.empty() && report.invalid_text.size() <= 32);
        FUZZ_CHECK(std::none_of(report.invalid_text.begin(), report.invalid_text.end(),
                                [](char c) { return static_cast<unsigned char>(c) <= ' '; }));
        FUZZ_CHECK(error == "\"" + name + "\" line " + std::to_string(report.invalid_line) + ": \"" +
                               report.invalid_text + "\" is not a whole number");
        return 0;
    }
    FUZZ_CHECK(error.empty());

    FUZZ_CHECK(report.first_bad_line >= 0 && report.first_bad_line <= line_breaks + 1);
    FUZZ_CHECK((report.unread_lines == 0) == (report.first_unread_line == 0));
    FUZZ_CHECK(report.first_unread_line + report.unread_lines - 1 <= line_breaks + 1);
    if (report.refused) {
        FUZZ_CHECK(report.count > Last_input);
        FUZZ_CHECK(std::all_of(std::begin(table), std::end(table), untouched));
    } else {
        const std::int32_t used = std::max(report.count, 0);
        FUZZ_CHECK(report.pairs_read >= 0 && report.pairs_read <= used);
        FUZZ_CHECK(report.ended_early == (report.pairs_read < used));
        FUZZ_CHECK(!report.ended_early || report.unread_lines == 0);
        FUZZ_CHECK(std::all_of(table + used + 1, std::end(table), untouched));
    }

    const bool complete = report.count == Last_input && !report.ended_early && report.first_bad_line == 0 &&
                          report.unread_lines == 0;
    const std::string shown = t_pattern_warning(report, name, T_pattern_use::window_goes_on);
    const std::string refused = t_pattern_warning(report, name, T_pattern_use::refused);
    FUZZ_CHECK(shown.empty() == complete);
    FUZZ_CHECK(refused.empty() == complete);
    // Every sentence names the file; the refusal comes once, at the end.
    for (const std::string* warning : {&shown, &refused}) {
        std::size_t start = 0;
        while (start < warning->size()) {
            FUZZ_CHECK(warning->compare(start, name.size() + 2, "\"" + name + "\"") == 0);
            const std::size_t end = warning->find('\n', start);
            start = end == std::string::npos ? warning->size() : end + 1;
        }
    }
    if (!complete)
        FUZZ_CHECK(refused.ends_with(" is refused: it must give each of the 784 inputs a row and a column of 1..28, "
                                     "one pair per line after the count"));
    FUZZ_CHECK(shown.find("is refused") == std::string::npos);
    return 0;
}

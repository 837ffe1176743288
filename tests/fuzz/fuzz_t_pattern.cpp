// The T-pattern reader over any text. The table is never written outside the
// entries the first line announces, a refused pattern leaves it alone, the
// only error is "Invalid numeric input", and the warning to the user is
// empty exactly when the pattern fills all 784 inputs.
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

    T_pattern_report report;
    try {
        report = read_t_pattern(text, table);
    } catch (const Vantel_error& error) {
        FUZZ_CHECK(std::string(error.what()) == "Invalid numeric input");
        FUZZ_CHECK(untouched(table[0]));
        return 0;
    }

    FUZZ_CHECK(untouched(table[0]));
    const int line_breaks = static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                                             std::count(text.begin(), text.end(), '\r'));
    FUZZ_CHECK(report.first_bad_line >= 0 && report.first_bad_line <= line_breaks + 1);
    if (report.refused) {
        FUZZ_CHECK(report.count > Last_input);
        FUZZ_CHECK(std::all_of(std::begin(table), std::end(table), untouched));
    } else {
        const std::int32_t used = std::max(report.count, 0);
        FUZZ_CHECK(report.pairs_read >= 0 && report.pairs_read <= used);
        FUZZ_CHECK(report.ended_early == (report.pairs_read < used));
        FUZZ_CHECK(std::all_of(table + used + 1, std::end(table), untouched));
    }

    const std::string warning = t_pattern_warning(report, "T_pattern\\T-pattern-3.VM");
    const bool complete = report.count == Last_input && !report.ended_early && report.first_bad_line == 0;
    FUZZ_CHECK(warning.empty() == complete);
    return 0;
}

// The one line splitter with the options its two users set: plain text
// (the init file, memo texts) keeps NUL bytes and a byte-order mark as text;
// data files end at a NUL byte, skip the mark and refuse what passes a limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "base/line_splitter.h"
#include "base/text_file.h"

namespace vantel::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

TEST(Line_splitter, plain_text_and_data_options_split_alike_but_for_nul_and_the_mark)
{
    struct Case {
        std::string text;
        Lines plain;  // split_lines
        Lines data;   // NUL ends the text, the mark is skipped
    };
    const Case cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}, {"a", "b", "c", "d"}},
        {"a\n\n", {"a", ""}, {"a", ""}},
        {"a\0b\nc"s, {"a\0b"s, "c"}, {"a"}},
        {"\xEF\xBB\xBF" "1\n2", {"\xEF\xBB\xBF" "1", "2"}, {"1", "2"}},
        {"\xEF\xBB", {"\xEF\xBB"}, {"\xEF\xBB"}},
        {"", {}, {}},
    };
    Line_options data;
    data.nul_ends_text = true;
    data.skip_byte_order_mark = true;
    for (const Case& c : cases) {
        EXPECT_EQ(split_lines(c.text), c.plain) << c.text;
        // Fed a byte at a time, as a file read in small pieces.
        Line_splitter splitter(data);
        for (const char byte : c.text)
            if (!splitter.feed(std::string_view(&byte, 1))) break;
        EXPECT_EQ(splitter.finish(), c.data) << c.text;
    }
}

TEST(Line_splitter, a_limit_passed_is_refused_naming_the_text)
{
    Line_options options;
    options.max_lines = 2;
    options.max_line_bytes = 3;
    options.name = "x.txt";
    EXPECT_THROW(
        {
            Line_splitter splitter(options);
            splitter.feed("1\n2\n3\n");
        },
        Vantel_error);
    try {
        Line_splitter splitter(options);
        splitter.feed("12\n1234\n");
        FAIL() << "a line of 4 bytes passed";
    } catch (const Vantel_error& error) {
        EXPECT_STREQ(error.what(), "x.txt: line 2 is too long");
    }
}

}  // namespace
}  // namespace vantel::test

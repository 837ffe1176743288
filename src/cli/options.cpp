#include "cli/options.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>

#include <charconv>

#include "base/strings.h"
#include "cli/option_numbers.h"
#include "engine/run_arguments.h"
#include "engine/vantel.h"

namespace vantel::cli {

namespace {

enum class Value {
    none,     // a flag: the option alone
    text,     // any text: a path
    whole,    // a whole number within [low, high]
    numbers,  // "1,3-5": whole numbers and ranges, each within [low, high]
    counts,   // "5,10,20": whole numbers within [low, high], no ranges
    word,     // one of `words`
    seed,     // a whole number from 0 to 2^64 - 1
};

// What was read of an option's value, for its row to set.
struct Value_read {
    const std::string& text;
    int number = 0;                 // whole; word: the word's place in `words`, from 0
    std::vector<int> numbers = {};  // numbers, counts
    bool all = false;               // numbers: the word "all"
    std::uint64_t seed = 0;
};

struct Option_row {
    std::string_view name = {};
    Value value = Value::none;
    // Only the runs of data files take it: --batch refuses it, since the
    // init file sets those runs there.
    bool runs_only = false;
    int low = 0;
    int high = 0;
    // The problem says "NAME needs EXPECTED, got 'VALUE'", and for a whole
    // number out of range "NAME VALUE is out of range: EXPECTED is expected".
    std::string_view expected = {};
    // word: the words, in the order of what they set; numbers: "all" when
    // the option takes it.
    std::string_view words = {};
    // numbers: the problem of an item out of range, when it is not the one
    // of `expected`: "NAME: OUT_OF_RANGE, got 'VALUE'".
    std::string_view out_of_range = {};
    void (*set)(Options&, const Value_read&) = nullptr;
    // Another name of the option named here: the two are one option.
    std::string_view same_as = {};
};

void set_columns(Options& options, const Value_read& read)
{
    options.all_columns = read.all;
    if (!read.all) options.columns = read.numbers;
}

// The texts below name the engine's limits.
static_assert(Max_epochs == 100000 && Max_threads == 1024 && Min_method == 1 && Max_method == 6 &&
              Min_series_length == 5 && Max_series_length == 19625 && Max_surrogates == 10000 &&
              Max_scale == 3925);

// Every option, in the order of --help.
constexpr Option_row Rows[] = {
    {.name = "--columns", .value = Value::numbers, .runs_only = true, .low = 1, .high = INT_MAX,
     .expected = "'all' or column numbers such as 1,3-5", .words = "all", .out_of_range = "columns count from 1",
     .set = set_columns},
    {.name = "--column", .value = Value::numbers, .runs_only = true, .low = 1, .high = INT_MAX,
     .expected = "'all' or column numbers such as 1,3-5", .words = "all", .out_of_range = "columns count from 1",
     .set = set_columns, .same_as = "--columns"},
    {.name = "--epochs", .value = Value::counts, .runs_only = true, .low = 1, .high = Max_epochs,
     .expected = "whole numbers from 1 to 100000, such as 100 or 5,10,20",
     .set = [](Options& o, const Value_read& r) { o.epochs = r.numbers; }},
    {.name = "--curve", .runs_only = true, .set = [](Options& o, const Value_read&) { o.curve = true; }},
    {.name = "--n", .value = Value::whole, .runs_only = true, .low = Min_series_length, .high = Max_series_length,
     .expected = "a whole number from 5 to 19625",
     .set =
         [](Options& o, const Value_read& r) {
             o.n = r.text;
             o.n_given = true;
         }},
    {.name = "--start", .value = Value::whole, .runs_only = true, .low = 1, .high = INT_MAX,
     .expected = "a line number of 1 or more", .set = [](Options& o, const Value_read& r) { o.start = r.number; }},
    {.name = "--window", .value = Value::whole, .runs_only = true, .low = Min_series_length,
     .high = Max_series_length,
     .expected = "a window of 5 to 19625 values", .set = [](Options& o, const Value_read& r) { o.window = r.number; }},
    {.name = "--step", .value = Value::whole, .runs_only = true, .low = 1, .high = INT_MAX,
     .expected = "a step of 1 line or more", .set = [](Options& o, const Value_read& r) { o.step = r.number; }},
    {.name = "--rescale", .value = Value::word, .runs_only = true, .expected = "none, minmax or zscore",
     .words = "none minmax zscore", .set = [](Options& o, const Value_read& r) { parse_rescale(r.text, o.rescale); }},
    {.name = "--method", .value = Value::numbers, .runs_only = true, .low = Min_method, .high = Max_method,
     .expected = "1..6, a list of them, or all", .words = "all",
     .set =
         [](Options& o, const Value_read& r) {
             o.methods = r.all ? std::vector<int>{1, 2, 3, 4, 5, 6} : r.numbers;
         }},
    {.name = "--scales", .value = Value::numbers, .runs_only = true, .low = 1, .high = Max_scale,
     .expected = "scales such as 1-10 or 1,2,4,8", .out_of_range = "scales are whole numbers from 1 to 3925",
     .set = [](Options& o, const Value_read& r) { o.scales = r.numbers; }},
    {.name = "--surrogates", .value = Value::whole, .runs_only = true, .low = 1, .high = Max_surrogates,
     .expected = "a whole number from 1 to 10000",
     .set = [](Options& o, const Value_read& r) { o.surrogates.count = r.number; }},
    {.name = "--surrogate-kind", .value = Value::word, .runs_only = true, .expected = "shuffle or iaaft",
     .words = "shuffle iaaft",
     .set = [](Options& o, const Value_read& r) { parse_surrogate_kind(r.text, o.surrogates.kind); }},
    {.name = "--seed", .value = Value::seed, .runs_only = true,
     .expected = "a whole number from 0 to 18446744073709551615",
     .set = [](Options& o, const Value_read& r) { o.surrogates.seed = r.seed; }},
    {.name = "--strict", .runs_only = true, .set = [](Options& o, const Value_read&) { o.strict = true; }},
    {.name = "--format", .value = Value::word, .runs_only = true, .expected = "text, csv, json or jsonl",
     .words = "text csv json jsonl",
     .set = [](Options& o, const Value_read& r) { o.format = static_cast<Format>(r.number); }},
    {.name = "--json", .runs_only = true, .set = [](Options& o, const Value_read&) { o.format = Format::json; },
     .same_as = "--format"},
    {.name = "--output", .value = Value::text, .set = [](Options& o, const Value_read& r) { o.output = r.text; }},
    {.name = "--resume", .runs_only = true, .set = [](Options& o, const Value_read&) { o.resume = true; }},
    {.name = "--overwrite", .runs_only = true, .set = [](Options& o, const Value_read&) { o.overwrite = true; }},
    {.name = "--batch", .value = Value::text, .set = [](Options& o, const Value_read& r) { o.batch_dir = r.text; }},
    {.name = "--init", .value = Value::text, .set = [](Options& o, const Value_read& r) { o.init_file = r.text; }},
    {.name = "--threads", .value = Value::whole, .low = 1, .high = Max_threads,
     .expected = "a whole number from 1 to 1024",
     .set = [](Options& o, const Value_read& r) { o.threads = r.number; }},
    {.name = "--mnist", .value = Value::text,
     .set = [](Options& o, const Value_read& r) { o.mnist_dir = with_slash(r.text); }},
    {.name = "--tpattern", .value = Value::text,
     .set = [](Options& o, const Value_read& r) { o.t_pattern_file = r.text; }},
    {.name = "--version", .set = [](Options& o, const Value_read&) { o.version = true; }},
    {.name = "--help", .set = [](Options& o, const Value_read&) { o.help = true; }},
    {.name = "-h", .set = [](Options& o, const Value_read&) { o.help = true; }, .same_as = "--help"},
};
static_assert(static_cast<int>(Format::text) == 0 && static_cast<int>(Format::jsonl) == 3,
              "--format's words are in the order of Format");

const Option_row* row_named(std::string_view name)
{
    for (const Option_row& row : Rows)
        if (row.name == name) return &row;
    return nullptr;
}

// The place of `text` among the blank-separated `words`; -1 when it is none.
int word_index(std::string_view words, std::string_view text)
{
    int index = 0;
    for (std::size_t from = 0; from <= words.size(); ++index) {
        const std::size_t blank = std::min(words.find(' ', from), words.size());
        if (words.substr(from, blank - from) == text) return index;
        from = blank + 1;
    }
    return -1;
}

// Reads the value of a row's option and sets it, or says its problem.
void take_value(const Option_row& row, const std::string& name, const std::string& text, Options& options,
                std::vector<std::string>& problems)
{
    const std::string needs = name + " needs " + std::string(row.expected) + ", got '" + text + "'";
    Value_read read{text};
    switch (row.value) {
    case Value::none: break;
    case Value::text:
        if (text.empty()) {
            problems.push_back(name + " needs a path, got ''");
            return;
        }
        break;
    case Value::whole: {
        const Number number = whole_number(text, read.number);
        if (number == Number::not_number) {
            problems.push_back(needs);
            return;
        }
        if (number == Number::out_of_range || read.number < row.low || read.number > row.high) {
            problems.push_back(name + " " + text + " is out of range: " + std::string(row.expected) + " is expected");
            return;
        }
        break;
    }
    case Value::seed: {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read.seed);
        if (text.empty() || text[0] == '-' || text[0] == '+' || error != std::errc() ||
            end != text.data() + text.size()) {
            const std::string range = name + " " + text + " is out of range: " + std::string(row.expected) +
                                      " is expected";
            problems.push_back(error == std::errc::result_out_of_range ? range : needs);
            return;
        }
        break;
    }
    case Value::word:
        read.number = word_index(row.words, text);
        if (read.number < 0) {
            problems.push_back(needs);
            return;
        }
        break;
    case Value::numbers:
    case Value::counts: {
        read.all = !row.words.empty() && text == row.words;
        if (read.all) break;
        if (!parse_number_list(text, read.numbers)) {
            problems.push_back(needs);
            return;
        }
        row.set(options, read);
        bool usable = row.value == Value::numbers ||
                      (text.find('-', 1) == std::string::npos && read.numbers.size() <= 100000);
        for (const int k : read.numbers) usable = usable && k >= row.low && k <= row.high;
        if (!usable)
            problems.push_back(row.out_of_range.empty() ? needs
                                                        : name + ": " + std::string(row.out_of_range) + ", got '" +
                                                              text + "'");
        return;
    }
    }
    row.set(options, read);
}

// False, after saying so, when the option (or another name of it) was
// given before: a second value would silently replace the first.
bool first_time(const Option_row& row, std::vector<std::string_view>& given, std::vector<std::string>& problems)
{
    const std::string_view option = row.same_as.empty() ? row.name : row.same_as;
    for (const std::string_view earlier : given) {
        if ((row_named(earlier)->same_as.empty() ? earlier : row_named(earlier)->same_as) != option) continue;
        problems.push_back(earlier == row.name ? std::string(row.name) + " is given twice: give each option once"
                                               : std::string(earlier) + " and " + std::string(row.name) +
                                                     " are the same option: give it once");
        return false;
    }
    given.push_back(row.name);
    return true;
}

}  // namespace

Options parse_arguments(const std::vector<std::string>& arguments, std::vector<std::string>& problems)
{
    Options options;
    std::vector<std::string_view> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (const Option_row* flag = row_named(argument); flag && flag->value == Value::none) {
            if (!first_time(*flag, given, problems)) continue;
            if (flag->runs_only) options.run_options.push_back(argument);
            flag->set(options, Value_read{argument});
            continue;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);  // "-" too: standard input
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const Option_row* row = row_named(name);
        if (!row || row->value == Value::none) {
            problems.push_back("unknown option " + name + " (see --help)");
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            problems.push_back(name + " needs a value");
            continue;
        }
        if (!first_time(*row, given, problems)) continue;
        if (row->runs_only) options.run_options.push_back(name);
        take_value(*row, name, value, options, problems);
    }
    if (!options.batch_dir.empty()) options.batch_dir = with_slash(options.batch_dir);
    if (options.curve && options.epochs.size() != 1)
        problems.push_back("--curve takes one epoch count, the last point of the curve, such as --epochs 100");
    if (options.window > 0 && options.n_given)
        problems.push_back("--n and --window do not go together: a window's length is its N");
    if (options.step > 0 && options.window == 0) problems.push_back("--step goes with --window");
    for (const char* option : {"--surrogate-kind", "--seed"})
        if (options.surrogates.count == 0 &&
            std::find(options.run_options.begin(), options.run_options.end(), option) != options.run_options.end())
            problems.push_back(std::string(option) + " goes with --surrogates, the number of surrogates");
    if (options.output == "-") {
        if (!options.batch_dir.empty())
            problems.push_back("--batch writes files into a folder: --output - (standard output) does not go with it");
        options.output.clear();  // standard output
    }
    if (options.resume && options.output.empty())
        problems.push_back("--resume needs --output, the file to resume");
    else if (options.resume && options.format == Format::text && options.batch_dir.empty())
        problems.push_back("--resume takes csv, jsonl or json records, not text");
    if (options.overwrite && options.output.empty())
        problems.push_back("--overwrite needs --output, the file to replace");
    if (options.overwrite && options.resume)
        problems.push_back("--resume keeps the records of the output and --overwrite replaces them: give one");
    return options;
}

}  // namespace vantel::cli

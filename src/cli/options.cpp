#include "cli/options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <map>

#include "base/strings.h"

namespace vantel::cli {

const char* const Usage = R"(usage: vantel FILE... [options]
       vantel --batch DIR [--init FILE] [--output DIR] [--threads T] [--mnist DIR] [--tpattern FILE]

Computes the Vantel value of columns of tab-separated data files, as the
window's START does, for every combination of file, column, method, series
(window) and epoch count. The datasets are loaded once; the runs are spread
over the threads. FILE may be - for standard input.

What a run does: the series fills the 785 x 25 = 19625 weights of the hidden
layer W1 by one of six fill methods; the network is trained on the 60000
MNIST-10 training images and tested on the 10000 test images; the share
classified right (0.0000 to 1.0000) is the value.
  fill methods 1..3 fill W1 neuron by neuron (column by column), 4..6 input
  by input (row by row); 1 and 4 start the series again when it runs out,
  2 and 5 leave the rest of a neuron's (input's) weights 0 and start again at
  the next one, 3 and 6 stretch the series over all 19625 weights, drawing
  straight lines between its values. At N = 19625 the series fills W1 once
  and methods 1..3 coincide, as do 4..6; below that they differ.
The value depends on the series' scale and offset, not only on its shape,
since the values become the weights themselves (see --rescale). It rises
with the epochs and levels off; compare series only at the same epochs and
method. 100 epochs take a few seconds per series on two cores.

options for data files:
  --columns all|LIST  columns to take, from 1: all of them, or a list such as 1,3-5 (default 1);
                      --column C is the same
  --epochs LIST       training epochs, 1 or more, one count or several such as 5,10,20
                      (default 100); several counts of a series are trained once, to the
                      largest, and the network is tested at each count; with exactly two
                      counts the relative change (E2 value - E1 value) / E2 value is reported
  --curve             one record per epoch from 1 to the (one) --epochs count: the learning
                      curve, at about the cost of one run
  --n N               series length (default 19625); corrected to 5..19625 and the lines
                      from --start on
  --start S           the line of the series' first value (default 1)
  --window W          one run for each window of W values (5..19625) starting at line
                      S, S + STEP, S + 2 STEP, ... while the window fits in the file
  --step STEP         lines from one window's start to the next (default: W, side by side)
  --rescale R         none (default: the window's values), minmax (the values used mapped
                      onto [0, 1]) or zscore (mean 0, population standard deviation 1), in
                      double arithmetic; a constant series cannot be rescaled. Use minmax or
                      zscore to compare series recorded in different units or offsets.
  --method M|all      fill method of the reservoir matrix, 1..6, a list, or all (default 5)
  --strict            refuse (as a failed run) a series with any warning: fields that are not
                      numbers, a file that seems to separate its columns otherwise than by
                      tabs, or lines of differing field counts
  --format F          text (default), csv, json or jsonl; --json is --format json
                      text: the value alone for one run, else a table with a header line
                      csv, json, jsonl: one record per run (see the README for the fields)
  --output PATH       write the output to PATH instead of standard output; csv and jsonl
                      records are appended as runs finish, json and text are written whole
                      at the end
  --resume            with --output: keep the records already in PATH and compute only the
                      runs that are not there

--batch DIR does what "Open All Files" does for the data folder DIR: every
"*.txt" file is computed by the all-columns batch with the epoch counts, the
method and N of the init file (lines 1, 2, 4 and 5), and gets its run log in
"Results" and its batch result in "DATA_RESULT" of the program folder; a file
whose first line is "TURBO" is not computed. The paths written are printed.
  --init FILE         the init file (default: init.txt next to the program)
  --output DIR        the folder that receives "Results" and "DATA_RESULT"

common options:
  --threads T         threads in all, 1 or more (default: every core this process may use)
  --mnist DIR         folder of the four MNIST-10 files (default: MNIST_10 next to the
                      program, or the folder of init line 6 with --batch)
  --tpattern FILE     the T-pattern file (default: T_pattern/T-pattern-3.VM next to the program)
  --version           the program's version
  --help              show this text

Warnings on a series (fields read as 0 because they are not numbers, odd
separators, ragged lines) go to standard error and into each record. While
standard error is a terminal a progress line shows the runs done, the time
passed and the time left. Ctrl-C (or a SIGTERM) stops the runs in progress at
their next image, keeps every finished record and ends with status 130; a
second one ends the program at once.
Exit status: 0 on success; 1 when a run or a file failed (reported on
standard error); 2 for bad arguments or files, with one line per problem,
before any work starts; 130 after Ctrl-C.
)";

namespace {

enum class Number { ok, not_number, out_of_range };

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

}  // namespace

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
        for (int k = first; k <= last; ++k) read.push_back(k);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    numbers = std::move(read);
    return true;
}

Options parse_arguments(const std::vector<std::string>& arguments, std::vector<std::string>& problems)
{
    Options options;
    using Reader = std::function<void(const std::string& name, const std::string& value)>;
    auto run_option = [&options](const std::string& name) { options.run_options.push_back(name); };

    // A whole number within [low, high], with the problem said plainly.
    const auto bounded = [&](const std::string& name, const std::string& value, int low, int high, int& into,
                             const std::string& what) {
        int read = 0;
        switch (whole_number(value, read)) {
        case Number::not_number: problems.push_back(name + " needs " + what + ", got '" + value + "'"); return;
        case Number::out_of_range:
            problems.push_back(name + " " + value + " is out of range: " + what + " is expected");
            return;
        case Number::ok: break;
        }
        if (read < low || read > high)
            problems.push_back(name + " " + value + " is out of range: " + what + " is expected");
        else
            into = read;
    };

    const Reader columns = [&](const std::string& name, const std::string& value) {
        run_option(name);
        options.all_columns = value == "all";
        if (options.all_columns) return;
        if (!parse_number_list(value, options.columns))
            problems.push_back(name + " needs 'all' or column numbers such as 1,3-5, got '" + value + "'");
        else
            for (int c : options.columns)
                if (c < 1) {
                    problems.push_back(name + ": columns count from 1, got '" + value + "'");
                    break;
                }
    };
    const std::map<std::string, Reader> readers = {
        {"--columns", columns},
        {"--column", columns},
        {"--epochs",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             bool usable = parse_number_list(value, options.epochs) && value.find('-', 1) == std::string::npos &&
                           !options.epochs.empty() && options.epochs.size() <= 100000;
             for (int e : options.epochs) usable = usable && e >= 1;
             if (!usable)
                 problems.push_back(name + " needs whole numbers of 1 or more, such as 100 or 5,10,20, got '" +
                                    value + "'");
         }},
        {"--n",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             int n = 0;
             const std::size_t before = problems.size();
             bounded(name, value, INT_MIN, INT_MAX, n, "a whole number (corrected to 5..19625 and the file's lines)");
             if (problems.size() == before) {
                 options.n = value;
                 options.n_given = true;
             }
         }},
        {"--start",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             bounded(name, value, 1, INT_MAX, options.start, "a line number of 1 or more");
         }},
        {"--window",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             bounded(name, value, 5, 19625, options.window, "a window of 5 to 19625 values");
         }},
        {"--step",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             bounded(name, value, 1, INT_MAX, options.step, "a step of 1 line or more");
         }},
        {"--rescale",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             if (!parse_rescale(value, options.rescale))
                 problems.push_back(name + " needs none, minmax or zscore, got '" + value + "'");
         }},
        {"--method",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             bool usable = true;
             if (value == "all")
                 options.methods = {1, 2, 3, 4, 5, 6};
             else
                 usable = parse_number_list(value, options.methods);
             for (int m : options.methods) usable = usable && m >= 1 && m <= 6;
             if (!usable) problems.push_back(name + " needs 1..6, a list of them, or all, got '" + value + "'");
         }},
        {"--threads",
         [&](const std::string& name, const std::string& value) {
             bounded(name, value, 1, 1024, options.threads, "a whole number from 1 to 1024");
         }},
        {"--format",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             if (value == "text")
                 options.format = Format::text;
             else if (value == "csv")
                 options.format = Format::csv;
             else if (value == "json")
                 options.format = Format::json;
             else if (value == "jsonl")
                 options.format = Format::jsonl;
             else
                 problems.push_back(name + " needs text, csv, json or jsonl, got '" + value + "'");
         }},
        {"--output", [&](const std::string&, const std::string& value) { options.output = value; }},
        {"--batch", [&](const std::string&, const std::string& value) { options.batch_dir = value; }},
        {"--init", [&](const std::string&, const std::string& value) { options.init_file = value; }},
        {"--mnist", [&](const std::string&, const std::string& value) { options.mnist_dir = with_slash(value); }},
        {"--tpattern", [&](const std::string&, const std::string& value) { options.t_pattern_file = value; }},
    };
    // Options without a value.
    const std::map<std::string, std::function<void(const std::string&)>> flags = {
        {"--help", [&](const std::string&) { options.help = true; }},
        {"-h", [&](const std::string&) { options.help = true; }},
        {"--version", [&](const std::string&) { options.version = true; }},
        {"--json",
         [&](const std::string& name) {
             run_option(name);
             options.format = Format::json;
         }},
        {"--curve",
         [&](const std::string& name) {
             run_option(name);
             options.curve = true;
         }},
        {"--resume",
         [&](const std::string& name) {
             run_option(name);
             options.resume = true;
         }},
        {"--strict",
         [&](const std::string& name) {
             run_option(name);
             options.strict = true;
         }},
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (const auto flag = flags.find(argument); flag != flags.end()) {
            flag->second(argument);
            continue;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);  // "-" too: standard input
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto reader = readers.find(name);
        if (reader == readers.end()) {
            problems.push_back("unknown option " + name + " (see --help)");
            continue;
        }
        if (equals != std::string::npos) {
            reader->second(name, argument.substr(equals + 1));
        } else if (i + 1 < arguments.size()) {
            reader->second(name, arguments[++i]);
        } else {
            problems.push_back(name + " needs a value");
        }
    }
    if (!options.batch_dir.empty()) options.batch_dir = with_slash(options.batch_dir);
    if (options.curve && options.epochs.size() != 1)
        problems.push_back("--curve takes one epoch count, the last point of the curve, such as --epochs 100");
    if (options.window > 0 && options.n_given)
        problems.push_back("--n and --window do not go together: a window's length is its N");
    if (options.step > 0 && options.window == 0) problems.push_back("--step goes with --window");
    if (options.resume && options.output.empty()) problems.push_back("--resume needs --output, the file to resume");
    return options;
}

}  // namespace vantel::cli

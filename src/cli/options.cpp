#include "cli/options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <map>

namespace vantel::cli {

const char* const Usage = R"(usage: vantel FILE... [options]
       vantel --batch DIR [--init FILE] [--output DIR] [--threads T] [--mnist DIR] [--tpattern FILE]

Computes the Vantel value of columns of tab-separated data files, as the
window's START does, for every combination of file, column, method and epoch
count. The datasets are loaded once; the runs are spread over the threads.

options for data files:
  --columns all|LIST  columns to take, from 1: all of them, or a list such as 1,3-5 (default 1);
                      --column C is the same
  --epochs E1[,E2]    training epochs, 1 or more (default 100); with two counts each column is
                      computed with both and the relative change (E2 value - E1 value) / E2 value
                      is reported as well
  --n N               series length (default 19625); corrected to 5..19625 and the file's lines
  --method M|all      fill method of the reservoir matrix, 1..6, a list, or all (default 5)
  --format F          text (default), csv or json; --json is --format json
                      text: the value alone for one run, else a table with a header line
                      csv, json: one record per run with file, file_sha256, value, correct_count,
                      n, column, method, epochs, seconds, w2_sha256 (SHA-256 of W2 as 260
                      little-endian doubles), relative_change, problem and version
  --output PATH       write the output to PATH instead of standard output

--batch DIR does what "Open All Files" does for the data folder DIR: every
"*.txt" file is computed by the all-columns batch with the epoch counts, the
method and N of the init file (lines 0, 1, 3 and 4), and gets its run log in
"Results" and its batch result in "DATA_RESULT" of the program folder; a file
whose first line is "TURBO" is not computed. The paths written are printed.
  --init FILE         the init file (default: init.txt next to the program)
  --output DIR        the folder that receives "Results" and "DATA_RESULT"

common options:
  --threads T         threads in all, 1 or more (default: every core this process may use)
  --mnist DIR         folder of the four MNIST-10 files (default: MNIST_10 next to the
                      program, or the folder of init line 5 with --batch)
  --tpattern FILE     the T-pattern file (default: T_pattern/T-pattern-3.VM next to the program)
  --help              show this text

While standard error is a terminal a progress line shows the runs done,
the time passed and the time left. Ctrl-C (or a SIGTERM) lets the runs in
progress finish, writes what was computed and ends with status 130.
Exit status: 0 on success; 1 when a run or a file failed (reported on
standard error); 2 for bad arguments or files, with one line per problem,
before any work starts.
)";

namespace {

bool whole_number(const std::string& text, int& value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || read < INT_MIN || read > INT_MAX) return false;
    // strtol also takes leading blanks and a '+'; an argument is plainer.
    if (text.front() != '-' && (text.front() < '0' || text.front() > '9')) return false;
    value = static_cast<int>(read);
    return true;
}

std::string with_slash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
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
            if (!whole_number(item, first)) return false;
            last = first;
        } else if (!whole_number(item.substr(0, dash), first) || !whole_number(item.substr(dash + 1), last) ||
                   last < first || last - first > 100000) {
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
                           !options.epochs.empty() && options.epochs.size() <= 2;
             for (int e : options.epochs) usable = usable && e >= 1;
             if (!usable)
                 problems.push_back(name + " needs one or two whole numbers of 1 or more, such as 100,200, got '" +
                                    value + "'");
         }},
        {"--n",
         [&](const std::string& name, const std::string& value) {
             run_option(name);
             int n = 0;
             if (!whole_number(value, n))
                 problems.push_back(name + " needs a whole number, got '" + value + "'");
             else
                 options.n = value;
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
             if (!whole_number(value, options.threads) || options.threads < 1 || options.threads > 1024)
                 problems.push_back(name + " needs a whole number from 1 to 1024, got '" + value + "'");
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
             else
                 problems.push_back(name + " needs text, csv or json, got '" + value + "'");
         }},
        {"--output", [&](const std::string&, const std::string& value) { options.output = value; }},
        {"--batch", [&](const std::string&, const std::string& value) { options.batch_dir = value; }},
        {"--init", [&](const std::string&, const std::string& value) { options.init_file = value; }},
        {"--mnist", [&](const std::string&, const std::string& value) { options.mnist_dir = with_slash(value); }},
        {"--tpattern", [&](const std::string&, const std::string& value) { options.t_pattern_file = value; }},
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument == "--json") {
            run_option(argument);
            options.format = Format::json;
            continue;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);
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
    return options;
}

}  // namespace vantel::cli

// The vantel command for many series: its records in every format, the same
// records whatever the thread count, the folder batch against the window's
// all-files batch, bad input, Ctrl-C and the progress line.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <regex>
#include <thread>

#include "base/sha256.h"
#include "base/version.h"
#include "cli/command_runner.h"
#include "base/date_time.h"
#include "series/data_file.h"

namespace vantel::test {
namespace {

const std::vector<std::string> Record_fields = {
    "file",      "file_sha256",     "value",   "correct_count", "n",          "column",   "method", "epochs", "seconds",
    "w2_sha256", "relative_change", "problem", "version",       "value_text", "warnings", "start",  "window", "rescale",
    "datasets_sha256", "scale", "surrogates", "surrogate_kind", "seed", "surrogate_values", "surrogate_mean",
    "surrogate_sd", "z_score", "p_value"};

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end - from));
    return lines;
}

std::vector<std::string> names_in(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> contents_in(const std::filesystem::path& folder)
{
    std::vector<std::string> contents;
    for (const std::string& name : names_in(folder)) contents.push_back(read_file(folder / name));
    std::sort(contents.begin(), contents.end());
    return contents;
}

TEST(Many_series, csv_json_and_text_hold_the_same_runs_with_one_thread_or_two)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string data = dir.write("se,ries \"q\".txt", series_rows(40, 2));
    const std::string runs = shell_word(data) + " --columns all --epochs 1,2 --method 3 --n 30";
    const auto csv = run_vantel(runs + " --threads 1 --format csv", dir);
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.err, "");
    const std::string json_file = (dir.path() / "runs.json").string();
    const auto json = run_vantel(runs + " --threads 2 --json --output " + shell_word(json_file), dir);
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "");

    const auto rows = parse_csv(csv.out);
    ASSERT_EQ(rows.size(), 5u) << csv.out;
    EXPECT_EQ(rows[0], Record_fields);
    const auto document = Json_reader::read(read_file(json_file));
    ASSERT_TRUE(document) << read_file(json_file);
    ASSERT_EQ(document->kind, Json::Kind::array);
    ASSERT_EQ(document->items.size(), 4u);

    const std::string data_sha = sha256_hex(read_file(data));
    for (std::size_t i = 0; i < 4; ++i) {
        const std::vector<std::string>& r = rows[i + 1];
        const std::string which = "record " + std::to_string(i);
        ASSERT_EQ(r.size(), Record_fields.size()) << which;
        // One thread or two: the same record, but for the time it took.
        const Json& object = document->items[i];
        ASSERT_EQ(object.members.size(), Record_fields.size()) << which;
        for (std::size_t f = 0; f < Record_fields.size(); ++f) {
            EXPECT_EQ(object.members[f].first, Record_fields[f]) << which;
            const Json& value = object.members[f].second;
            if (Record_fields[f] == "warnings") {
                EXPECT_EQ(value.kind, Json::Kind::array);
                EXPECT_EQ(value.items.size(), 0u) << which;
            } else if (Record_fields[f] != "seconds") {
                EXPECT_EQ(value.kind == Json::Kind::null ? "" : value.text, r[f]) << Record_fields[f] << ", " << which;
            }
        }
        EXPECT_EQ(r[0], data);
        EXPECT_EQ(r[1], data_sha);
        ASSERT_TRUE(std::regex_match(r[2], std::regex("0\\.\\d{4}"))) << r[2];
        EXPECT_EQ(std::stoi(r[2].substr(2)), std::stoi(r[3])) << "the value is the share of 10000 test images";
        EXPECT_EQ(r[4], "30");
        EXPECT_EQ(r[5], std::to_string(i / 2 + 1));
        EXPECT_EQ(r[6], "3");
        EXPECT_EQ(r[7], std::to_string(i % 2 + 1));
        EXPECT_TRUE(std::regex_match(r[8], std::regex("\\d+\\.\\d{3}"))) << r[8];
        EXPECT_TRUE(std::regex_match(r[9], std::regex("[0-9a-f]{64}"))) << r[9];
        EXPECT_EQ(r[11], "");
        EXPECT_EQ(r[12], Program_version);
        EXPECT_EQ(r[13], r[2]) << "value_text";
        EXPECT_EQ(object["value"].kind, Json::Kind::number) << which;
        EXPECT_EQ(r[15], "1");
        EXPECT_EQ(r[16], "");
        EXPECT_EQ(r[17], "none");
        EXPECT_TRUE(std::regex_match(r[18], std::regex("[0-9a-f]{64}"))) << r[18];
        if (i % 2 == 0) {
            EXPECT_EQ(r[10], "") << "the first epoch count has no change";
        } else {
            const double first = std::stod(rows[i][2]);
            const double second = std::stod(r[2]);
            const double change = (second - first) / second;
            EXPECT_NEAR(std::stod(r[10]), change, std::max(1e-4, 1e-3 * std::fabs(change))) << r[10];
        }
    }
    // The runs did differ by column and by epochs.
    EXPECT_NE(rows[1][9], rows[2][9]);
    EXPECT_NE(rows[1][9], rows[3][9]);
    // The file name's comma and quotes came through quoted, as the JSON shows.
    const std::string folder = dir.path().string();
    const std::string first_record = csv.out.substr(csv.out.find('\n') + 1);
    EXPECT_EQ(first_record.rfind("\"" + folder + "/se,ries \"\"q\"\".txt\",", 0), 0u) << first_record;

    // Text: a table of several runs; the value alone of one run.
    const auto table = run_vantel(shell_word(data) + " --columns 2,1 --method 3 --n 30 --epochs 1 --threads 2", dir);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out, "file\tcolumn\tmethod\tepochs\tvalue\trelative_change\n" + data + "\t2\t3\t1\t" + rows[3][2] +
                             "\t\n" + data + "\t1\t3\t1\t" + rows[1][2] + "\t\n");
}

TEST(Many_series, bad_input_is_reported_line_by_line_before_any_work)
{
    Temp_dir dir;
    const std::string d = dir.path().string();
    const std::string data = dir.write("series.txt", series_rows(20, 2));
    dir.write("short.txt", "1\r\n2\r\n3\r\n");
    dir.write("DATA/a.txt", series_rows(20, 1));
    std::filesystem::create_hard_link(data, dir.path() / "link.txt");
    const std::string run_together = dir.write("run_together.txt", "12AUTO=NOMETHOD=5N=19625Path=\r\n");
    const std::string longest = dir.write("longest.txt", series_rows(19625, 1));
    dir.write("my.VM", "784\n");
    dir.write("init.txt", "1\r\n2\r\nAUTO=NO\r\nMETHOD=5\r\nN=30\r\nPath=\r\n");
    for (const char* name : {"train-images.idx3-ubyte", "train-labels.idx1-ubyte", "t10k-images.idx3-ubyte",
                             "t10k-labels.idx1-ubyte"})
        dir.write(std::string("mnist/") + name, "any bytes");
    // A data folder that is the result folder: a.txt's result would replace a_Result.txt.
    dir.write("res/DATA_RESULT/a.txt", series_rows(20, 1));
    dir.write("res/DATA_RESULT/a_Result.txt", series_rows(20, 1));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--bogus " + data, "unknown option --bogus (see --help)"},
        {"--threads=x " + data, "--threads needs a whole number from 1 to 1024, got 'x'"},
        {"--columns 0 " + data, "--columns: columns count from 1, got '0'"},
        {"--column 2-x " + data, "--column needs 'all' or column numbers such as 1,3-5, got '2-x'"},
        {"--columns 1,3 " + data, "column 3 is out of range for " + data + ", which has 2 columns"},
        {"--method 7 " + data, "--method needs 1..6, a list of them, or all, got '7'"},
        {"--epochs 0 " + data, "--epochs needs whole numbers from 1 to 100000, such as 100 or 5,10,20, got '0'"},
        {"--epochs 1,,3 " + data, "--epochs needs whole numbers from 1 to 100000, such as 100 or 5,10,20, got '1,,3'"},
        {"--format xml " + data, "--format needs text, csv, json or jsonl, got 'xml'"},
        {"--n ten " + data, "--n needs a whole number from 5 to 19625, got 'ten'"},
        {"--n 100000000000 " + data, "--n 100000000000 is out of range: a whole number from 5 to 19625 is expected"},
        {"--window 4 " + data, "--window 4 is out of range: a window of 5 to 19625 values is expected"},
        {"--window 30 " + data, "no window of 30 values fits in " + data + ", which has 20 lines"},
        {"--start 17 " + data, "--start 17 leaves 4 of the 20 lines of " + data + "; a series needs at least 5"},
        {"--rescale log " + data, "--rescale needs none, minmax or zscore, got 'log'"},
        {"--scales 1,5 " + data, "--scales: " + data + ": scale 5 leaves 4 values of the 20 (a series needs at least 5;"
                                 " at scale 5 that takes 25 values)"},
        {"--window 10 --scales 3 " + data, "--scales: " + data + ": scale 3 leaves 3 values of the 10 (a series needs"
                                           " at least 5; at scale 3 that takes 15 values)"},
        {"--scales 0-2 " + data, "--scales: scales are whole numbers from 1 to 3925, got '0-2'"},
        {"--surrogates 10001 " + data, "--surrogates 10001 is out of range: a whole number from 1 to 10000 is expected"},
        {"--surrogates 2 --surrogate-kind aaft " + data, "--surrogate-kind needs shuffle or iaaft, got 'aaft'"},
        {"--surrogates 2 --seed 18446744073709551616 " + data, "--seed 18446744073709551616 is out of range: a whole "
                                                               "number from 0 to 18446744073709551615 is expected"},
        {"--surrogates 2 --seed -1 " + data, "--seed needs a whole number from 0 to 18446744073709551615, got '-1'"},
        {"--seed 7 " + data, "--seed goes with --surrogates, the number of surrogates"},
        // Both ends of every range: the value beyond is refused, the end itself taken.
        {"--threads 0 " + data, "--threads 0 is out of range: a whole number from 1 to 1024 is expected"},
        {"--threads 1025 " + data, "--threads 1025 is out of range: a whole number from 1 to 1024 is expected"},
        {"--window 19626 " + data, "--window 19626 is out of range: a window of 5 to 19625 values is expected"},
        {"--window 19625 " + data, "no window of 19625 values fits in " + data + ", which has 20 lines"},
        {"--start 0 " + data, "--start 0 is out of range: a line number of 1 or more is expected"},
        {"--start 2147483648 " + data, "--start 2147483648 is out of range: a line number of 1 or more is expected"},
        {"--window 5 --step 0 " + data, "--step 0 is out of range: a step of 1 line or more is expected"},
        {"--window 5 --step 2147483648 " + data,
         "--step 2147483648 is out of range: a step of 1 line or more is expected"},
        {"--window 5 --step 2147483647 --start 2147483647 " + data,
         "no window of 5 values fits in " + data + ", which has 20 lines (from line 2147483647 on)"},
        {"--n 19626 " + data, "--n 19626 is out of range: a whole number from 5 to 19625 is expected"},
        {"--n 21 " + data, "--n 21 is out of range for " + data + ", which has 20 lines"},
        {"--start 3 --n 19 " + data, "--n 19 is out of range for " + data + ", which has 20 lines (18 from line 3 on)"},
        {"--epochs 100001 " + data,
         "--epochs needs whole numbers from 1 to 100000, such as 100 or 5,10,20, got '100001'"},
        {"--epochs 2147483648 " + data,
         "--epochs needs whole numbers from 1 to 100000, such as 100 or 5,10,20, got '2147483648'"},
        {"--columns 2147483647 " + data, "column 2147483647 is out of range for " + data + ", which has 2 columns"},
        {"--columns 2147483648 " + data, "--columns needs 'all' or column numbers such as 1,3-5, got '2147483648'"},
        {"--threads 1 --method 1 --epochs 1 --n 5 --mnist " + d + "/nowhere " + data,
         "cannot find the MNIST-10 folder " + d + "/nowhere/"},
        {"--threads 1024 --method 6 --epochs 100000 --n 19625 --mnist " + d + "/nowhere " + longest,
         "cannot find the MNIST-10 folder " + d + "/nowhere/"},
        {"--epochs 1 --epochs 2 " + data, "--epochs is given twice: give each option once"},
        {"--json --format csv " + data, "--json and --format are the same option: give it once"},
        {"- - < " + data, "standard input (-) is given more than once: it can be read only once"},
        {"--output '' " + data, "--output needs a path, got ''"},
        {"--format csv --output " + d + "/short.txt " + data,
         "the output " + d + "/short.txt is not empty: --resume adds the runs it lacks, --overwrite replaces it"},
        {"--json --output /proc/runs.json " + data,
         "cannot write the output to /proc/runs.json: No such file or directory"},
        {"--tpattern " + d + "/my.VM --output " + d + "/my.VM " + data,
         "the output " + d + "/my.VM is the T-pattern file " + d + "/my.VM: it would be replaced by the results; "
         "choose another --output"},
        {"--batch " + d + "/res/DATA_RESULT --init " + d + "/init.txt --mnist " + d + "/mnist --output " + d + "/res",
         "the output " + d + "/res/DATA_RESULT/a_Result.txt is the data file " + d +
             "/res/DATA_RESULT/a_Result.txt: it would be replaced by the results; choose another --output"},
        {"--curve --epochs 5,10 " + data,
         "--curve takes one epoch count, the last point of the curve, such as --epochs 100"},
        {"--resume " + data, "--resume needs --output, the file to resume"},
        {"--output " + data + " " + data,
         "the output " + data + " is the data file " + data + ": it would be replaced by the results; choose another --output"},
        {"--output " + d + "/./series.txt " + data,
         "the output " + d + "/./series.txt is the data file " + data +
             ": it would be replaced by the results; choose another --output"},
        {"--output " + d + "/link.txt " + data,
         "the output " + d + "/link.txt is the data file " + data +
             ": it would be replaced by the results; choose another --output"},
        {data + " --epochs", "--epochs needs a value"},
        {"", "no data file given (see --help)"},
        {d + "/missing.txt", "Cannot open file \"" + d + "/missing.txt\". No such file or directory"},
        {d + "/short.txt", d + "/short.txt has 3 lines; a series needs at least 5"},
        {"--mnist " + d + "/nowhere " + data, "cannot find the MNIST-10 folder " + d + "/nowhere/"},
        {"--mnist " + d + " " + data, "cannot read MNIST-10 file " + d + "/train-images.idx3-ubyte"},
        {"--tpattern " + d + "/none.VM " + data, "cannot read T-pattern file " + d + "/none.VM"},
        {"--output " + d + "/no/runs.csv " + data, "cannot write the output to " + d + "/no/runs.csv: no folder " + d + "/no"},
        {"--init " + d + "/init.txt " + data, "--init goes with --batch only"},
        {"--batch " + d + "/nowhere", "cannot read the data folder " + d + "/nowhere/"},
        {"--batch " + d + "/DATA --init " + d + "/none.txt",
         "cannot read init file " + d + "/none.txt: No such file or directory"},
        {"--batch " + d + "/DATA --columns 2", "--columns does not go with --batch: the init file sets the runs of the batch"},
        {"--batch " + d + "/DATA " + data, "give data files or --batch DIR, not both"},
        {"--batch " + d + "/DATA --init " + run_together,
         run_together + " line 1: \"12AUTO=NOMETHOD=5N=19625Path=\" is not an epoch count: a whole number of 1 or more"
                        " is expected (the epochs of each column's first run)\nvantel: " +
             run_together + " holds 1 line: 6 are expected"},
        {"--batch " + d + "/DATA --output " + d + "/out", "cannot write into " + d + "/out/: no such folder"},
    };
    for (const auto& [arguments, problem] : cases) {
        const auto result = run_vantel(arguments, dir);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.err, "vantel: " + problem + "\n") << arguments;
        EXPECT_EQ(result.out, "") << arguments;
    }

    // Every problem has its line.
    const auto several = run_vantel("--epochs 0 --method 9 " + data, dir);
    EXPECT_EQ(several.status, 2);
    EXPECT_EQ(several.err,
              "vantel: --epochs needs whole numbers from 1 to 100000, such as 100 or 5,10,20, got '0'\n"
              "vantel: --method needs 1..6, a list of them, or all, got '9'\n");
    const auto files = run_vantel("--columns 5 " + data + " " + d + "/missing.txt " + d + "/short.txt", dir);
    EXPECT_EQ(files.status, 2);
    EXPECT_EQ(files.err, "vantel: column 5 is out of range for " + data + ", which has 2 columns\n"
                         "vantel: Cannot open file \"" + d + "/missing.txt\". No such file or directory\n"
                         "vantel: " + d + "/short.txt has 3 lines; a series needs at least 5\n");
}

// A program folder for the window, with the build's MNIST-10 files and
// T-pattern, and the init file that both batches read.
struct Batch_folder {
    Batch_folder(const std::vector<std::string>& init_lines) : init(init_lines)
    {
        for (const char* shared : {"MNIST_10", "T_pattern"})
            std::filesystem::create_directory_symlink(built_app_dir() + shared, app.path() / shared);
        std::string text;
        for (const std::string& line : init) text += line + "\r\n";
        init_file = app.write("init.txt", text);
        std::filesystem::create_directories(app.path() / "DATA");
    }

    // "Open All Files" through the window's own handlers.
    Test_program& run_window(const std::vector<std::string>& listing)
    {
        const std::string app_dir = app.path().string() + "/";
        program.session.executable_dir = app_dir;
        program.state->run.App_dir = app_dir;
        program.state->run.One_second = one_second_units();
        program.state->datasets.Datasets_pending = true;
        program.window.set_lines(Control::Memo3, init);
        program.window.select_method(3);
        program.window.set_lines(Control::Memo4, {});
        program.window.set_lines(Control::Memo5, listing);
        program.click(Control::Open_ALL_file_button);
        return program;
    }

    Command_result run_command(const std::string& more = "")
    {
        return run_vantel("--batch " + shell_word(data_dir()) + " --init " + shell_word(init_file) + " --output " +
                              shell_word(out.path().string()) + more,
                          out);
    }

    std::string data_dir() const { return app.path().string() + "/DATA"; }

    Temp_dir app;
    Temp_dir out;
    std::vector<std::string> init;
    std::string init_file;
    Test_program program;
};

TEST(Many_series, batch_writes_the_files_of_the_windows_all_files_batch)
{
    ASSERT_TRUE(real_mnist_present());
    Batch_folder folder({"1", "2", "AUTO=NO", "METHOD=3", "N=30", "Path="});
    folder.app.write("DATA/a.txt", series_rows(40, 2));
    folder.app.write("DATA/b.txt", series_rows(12, 1));
    folder.app.write("DATA/t.txt", "TURBO\r\n1\r\n");

    // The window names a run log by the second it is written in and
    // replaces a log of the same second: one batch per second here.
    folder.run_window({"a.txt", "t.txt"});
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const Test_program& window = folder.run_window({"b.txt"});
    ASSERT_TRUE(window.window.errors.empty()) << window.window.errors.front();
    ASSERT_TRUE(window.window.messages.empty()) << window.window.messages.front();

    const auto batch = folder.run_command(" --threads 2");
    EXPECT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(batch.err, "");

    const auto app = folder.app.path();
    const auto out = folder.out.path();
    ASSERT_EQ(names_in(out / "DATA_RESULT"), (std::vector<std::string>{"a_Result.txt", "b_Result.txt", "t_Result.txt"}));
    EXPECT_EQ(names_in(app / "DATA_RESULT"), names_in(out / "DATA_RESULT"));
    for (const std::string& name : names_in(app / "DATA_RESULT"))
        EXPECT_EQ(read_file(out / "DATA_RESULT" / name), read_file(app / "DATA_RESULT" / name)) << name;
    EXPECT_EQ(line_count(read_file(out / "DATA_RESULT/a_Result.txt")), 2);
    // Run logs are named by the time they were written; their contents agree.
    ASSERT_EQ(names_in(out / "Results").size(), 2u);
    EXPECT_EQ(contents_in(out / "Results"), contents_in(app / "Results"));
    EXPECT_NE(read_file(out / "Results" / names_in(out / "Results")[0]).find(
                  "file name=" + folder.data_dir() + "/a.txt"),
              std::string::npos);

    // Standard output names every file written, in the order of the listing.
    const auto written = split_lines(batch.out);
    ASSERT_EQ(written.size(), 5u) << batch.out;
    for (const std::string& path : written) EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
    EXPECT_TRUE(written[1].ends_with("/a_Result.txt") && written[3].ends_with("/b_Result.txt")) << batch.out;
    EXPECT_TRUE(written[4].ends_with("/t_Result.txt")) << batch.out;
}

TEST(Many_series, batch_passes_over_what_it_cannot_compute_as_the_window_does_and_says_so)
{
    ASSERT_TRUE(real_mnist_present());
    Batch_folder folder({"1", "2", "AUTO=NO", "METHOD=3", "N=30", "Path="});
    folder.app.write("DATA/t.txt", "TURBO\r\n1\r\n");
    std::string long_turbo = "TURBO\r\n";
    for (int k = 1; k < 12; ++k) long_turbo += std::to_string(k) + "\r\n";
    folder.app.write("DATA/long.txt", long_turbo);
    folder.app.write("DATA/s.txt", "1\r\n2\r\n3\r\n");
    folder.app.write("DATA/turbo.txt", "turbo\r\n1\r\n");
    folder.app.write("DATA/one.txt", "1\r\n");
    folder.app.write("DATA/empty.txt", "");
    std::filesystem::create_directory(folder.app.path() / "DATA/sub.txt");
    const std::string d = folder.data_dir();

    // The window's message boxes are the command's lines.
    for (const char* text : {"File is not correct", "Please load data!", "File is not correct", "Please load data!"})
        folder.program.window.expect_message(text);
    folder.run_window({"empty.txt", "long.txt", "one.txt", "s.txt", "sub.txt", "t.txt", "turbo.txt"});
    EXPECT_EQ(folder.program.window.messages.size(), 4u);
    const auto batch = folder.run_command();
    EXPECT_EQ(batch.status, 1);
    std::string unreadable;
    try {
        read_data_file(d + "/sub.txt");
    } catch (const std::exception& error) {
        unreadable = error.what();
    }
    // Where the window shows its boxes, each file is named once with what is wrong with it.
    EXPECT_EQ(batch.err, "vantel: " + d + "/empty.txt: skipped (the file is empty)\n"
                         "vantel: " + d + "/one.txt: skipped (it has 1 line; a series needs at least 5)\n"
                         "vantel: " + d + "/s.txt: skipped (it has 3 lines; a series needs at least 5)\n"
                         "vantel: " + d + "/sub.txt: skipped (" + unreadable + ")\n"
                         "vantel: " + d + "/turbo.txt: skipped (it has 2 lines; a series needs at least 5)\n");

    // Only the placeholder, as the window writes it; no run log or result file of blanks.
    const auto out = folder.out.path();
    EXPECT_EQ(names_in(out / "DATA_RESULT"), (std::vector<std::string>{"t_Result.txt"}));
    EXPECT_EQ(read_file(out / "DATA_RESULT/t_Result.txt"), read_file(folder.app.path() / "DATA_RESULT/t_Result.txt"));
    EXPECT_EQ(read_file(out / "DATA_RESULT/t_Result.txt"), "0 0  0\r\n");
    EXPECT_EQ(names_in(out / "Results"), std::vector<std::string>{});
}

TEST(Many_series, ctrl_c_stops_the_run_in_progress_and_keeps_the_finished_records)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string data = dir.write("series.txt", series_rows(40, 3));
    const std::string output = (dir.path() / "runs.csv").string();
    const std::string program = built_app_dir() + "vantel";
    // Three runs of 60 epochs each, one after another: long enough that the
    // signal finds the second in training.
    std::vector<std::string> arguments = {program, data, "--columns", "all", "--epochs", "60", "--n", "30",
                                          "--threads", "1", "--format", "csv", "--output", output};

    // Standard error on a terminal, so that the progress line tells when
    // the first run has finished and the second has trained an epoch: the
    // second is then in progress.
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal), 0);
    ASSERT_EQ(unlockpt(terminal), 0);
    const std::string side = ptsname(terminal);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int err = ::open(side.c_str(), O_RDWR | O_NOCTTY);
        dup2(err, STDERR_FILENO);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    std::string shown;
    const std::regex first_done("1/3 runs done, (6[1-9]|[7-9]\\d|1[01]\\d)/180 epochs");
    char buffer[512];
    for (ssize_t got; !std::regex_search(shown, first_done) && (got = read(terminal, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, static_cast<std::size_t>(got));
    ASSERT_TRUE(std::regex_search(shown, first_done)) << shown;
    kill(child, SIGINT);
    for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, static_cast<std::size_t>(got));
    close(terminal);
    int raw = 0;
    waitpid(child, &raw, 0);
    ASSERT_TRUE(WIFEXITED(raw)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(raw), 130);

    // It said it was stopping, and which run the stop cut short.
    EXPECT_NE(shown.find("vantel: stopping: the runs in progress end at their next image"), std::string::npos)
        << shown;
    std::smatch interrupted;
    ASSERT_TRUE(std::regex_search(shown, interrupted, std::regex("interrupted after (\\d) of 3 runs"))) << shown;
    const int finished = std::stoi(interrupted[1]);
    EXPECT_EQ(finished, 1);
    EXPECT_NE(shown.find("column " + std::to_string(finished + 1) + " method 5 epochs 60: stopped before its value"),
              std::string::npos)
        << shown;
    // Every finished run was written as it finished, and only those.
    const auto rows = parse_csv(read_file(output));
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(finished) + 1) << shown;
    EXPECT_EQ(rows[0], Record_fields);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][5], std::to_string(i));
        EXPECT_EQ(rows[i][7], "60");
        EXPECT_EQ(rows[i][11], "");
    }
    EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"runs.csv", "series.txt"}));
}

TEST(Many_series, progress_shows_on_a_terminal_only)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string data = dir.write("series.txt", series_rows(40, 1));
    const std::string arguments = shell_word(data) + " --n 30 --epochs 1 --threads 1";
    // script gives the command a terminal for its output streams.
    const std::string command =
        "script -qec " + shell_word(built_app_dir() + "vantel " + arguments) + " /dev/null";
    std::string shown;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) shown += buffer.data();
    pclose(pipe);
    EXPECT_TRUE(std::regex_search(shown, std::regex("\rvantel: 1/1 runs done, 1/1 epochs, 0:\\d\\d passed, about 0:00 left")))
        << shown;

    const auto plain = run_vantel(arguments, dir);
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err, "");
    EXPECT_NE(shown.find(plain.out.substr(0, 6)), std::string::npos) << "the same value on the terminal";
}

}  // namespace
}  // namespace vantel::test

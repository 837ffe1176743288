// The command on imperfect input and for long jobs: fields that are not
// numbers and odd separators are said (or refused with --strict), files
// that are not text are refused, records survive an interrupted job and
// --resume completes it, standard input, the defaults, series along a file.
#include <gtest/gtest.h>

#include <regex>

#include "base/sha256.h"
#include "base/version.h"
#include "cli/command_runner.h"

namespace vantel::test {
namespace {

// A JSON Lines output read back, one object a line.
std::vector<Json> json_lines(const std::string& text)
{
    std::vector<Json> records;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1) {
        auto record = Json_reader::read(text.substr(from, end - from));
        EXPECT_TRUE(record) << text.substr(from, end - from);
        if (record) records.push_back(*record);
    }
    EXPECT_EQ(from, text.size()) << "the last record has no line break";
    return records;
}

// 30 lines of one column with `bad` in place of the value of line `line`.
std::string column_with(const std::string& bad, int line)
{
    std::string text;
    for (int k = 1; k <= 30; ++k) text += (k == line ? bad : std::to_string((k * 37) % 101 - 50) + ".5") + "\n";
    return text;
}

TEST(Imperfect_input, what_is_read_as_0_is_said_and_strict_refuses_it)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    struct Case {
        std::string name;
        std::string text;
        std::string warning;
        std::string column = "1";
        std::string problem = "";  // of every run, with or without --strict: the column holds no series
    };
    const std::vector<Case> cases = {
        {"nan", column_with("nan", 5), "column 1: 1 of 25 values is not a number (at line 5: \"nan\"), read as 0"},
        {"inf", column_with("-inf", 7), "column 1: 1 of 25 values is not a number (at line 7: \"-inf\"), read as 0"},
        {"empty", column_with("", 9), "column 1: 1 of 25 values is not a number (at line 9: \"\"), read as 0"},
        {"hex", column_with("0x10", 2), "column 1: 1 of 25 values is not a number (at line 2: \"0x10\"), read as 0"},
        {"header", "time\n" + column_with("1.5.5", 20),
         "column 1: 2 of 25 values are not numbers (first at line 1: \"time\"), read as 0"},
        {"semicolons", [] {
             std::string text;
             for (int k = 1; k <= 30; ++k) text += std::to_string(k) + ";" + std::to_string(k * 2) + "\n";
             return text;
         }(),
         "seems to separate its columns by \";\": columns are separated by tabs, so each line is read as one column",
         "1", "column 1: none of its 25 fields is a number; it holds no series"},
        {"short lines", "1\t2\n" + column_with("5", 3),
         "column 2: 24 of 25 lines have no field 2 (first at line 2); the whole line was read there", "2"},
    };
    for (const Case& c : cases) {
        const std::string data = dir.write(c.name + ".txt", c.text);
        const std::string runs = shell_word(data) + " --column " + c.column + " --n 25 --epochs 1 --format jsonl";
        const auto warned = run_vantel(runs, dir);
        EXPECT_EQ(warned.status, c.problem.empty() ? 0 : 1) << c.name << ": " << warned.err;
        EXPECT_NE(warned.err.find("vantel: warning: " + data), std::string::npos) << c.name << ": " << warned.err;
        EXPECT_NE(warned.err.find(c.warning), std::string::npos) << c.name << ": " << warned.err;
        const auto records = json_lines(warned.out);
        ASSERT_EQ(records.size(), 1u) << c.name;
        const auto& warnings = records[0]["warnings"].items;
        EXPECT_TRUE(std::any_of(warnings.begin(), warnings.end(),
                                [&](const Json& w) { return w.text.find(c.warning) != std::string::npos; }))
            << c.name;
        EXPECT_EQ(records[0]["value"].kind, c.problem.empty() ? Json::Kind::number : Json::Kind::null) << c.name;
        const std::string refusal = c.problem.empty() ? "refused by --strict: " + data : data + " " + c.problem;
        if (!c.problem.empty()) {
            EXPECT_EQ(records[0]["problem"].text, refusal) << c.name;
        }

        const auto strict = run_vantel(runs + " --strict", dir);
        EXPECT_EQ(strict.status, 1) << c.name;
        const auto refused = json_lines(strict.out);
        ASSERT_EQ(refused.size(), 1u) << c.name;
        EXPECT_EQ(refused[0]["value"].kind, Json::Kind::null) << c.name;
        EXPECT_EQ(refused[0]["correct_count"].kind, Json::Kind::null) << c.name;
        EXPECT_EQ(refused[0]["w2_sha256"].kind, Json::Kind::null) << c.name;
        EXPECT_EQ(refused[0]["problem"].text.rfind(refusal, 0), 0u) << c.name;
    }
    // A byte-order mark is skipped, not read as part of the first value.
    const std::string plain = dir.write("plain.txt", column_with("7.5", 1));
    const std::string marked = dir.write("marked.txt", "\xEF\xBB\xBF" + column_with("7.5", 1));
    const auto a = run_vantel(shell_word(plain) + " --n 25 --epochs 1 --format jsonl", dir);
    const auto b = run_vantel(shell_word(marked) + " --n 25 --epochs 1 --format jsonl", dir);
    EXPECT_EQ(b.err, "");
    EXPECT_EQ(json_lines(a.out)[0]["w2_sha256"].text, json_lines(b.out)[0]["w2_sha256"].text);
}

TEST(Imperfect_input, files_that_are_not_plain_text_are_refused_naming_what_they_are)
{
    Temp_dir dir;
    std::string nul = "1.5\n2.5\n3.5\n4.";
    nul += '\0';
    nul += "5\n5.5\n6.5\n";
    const std::string cut = dir.write("nul.txt", nul);
    const std::string utf16 = dir.write("utf16.txt", std::string("\xFF\xFE" "1\0\n\0" "2\0\n\0", 10));
    const std::string program = built_app_dir() + "vantel";
    for (const auto& [path, what] : {std::pair{cut, "holds a NUL byte at line 4: it is not plain text from there on"},
                                     std::pair{utf16, "is UTF-16 text; save it as UTF-8 or ASCII"},
                                     std::pair{program, "is not a text file"}}) {
        const auto result = run_vantel(shell_word(path) + " --epochs 1", dir);
        EXPECT_EQ(result.status, 2) << path;
        EXPECT_EQ(result.err, "vantel: File \"" + path + "\" " + what + "\n");
    }
}

TEST(Imperfect_input, an_interrupted_output_is_completed_by_resume)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string data = dir.write("series.txt", series_rows(40, 3));
    const std::string runs = shell_word(data) + " --columns all --epochs 1 --n 30 --threads 2";
    for (const char* format : {"jsonl", "csv", "json"}) {
        const std::string output = dir.write(std::string("runs.") + format, "records of another job\n");
        const auto whole =
            run_vantel(runs + " --format " + format + " --output " + shell_word(output) + " --overwrite", dir);
        ASSERT_EQ(whole.status, 0) << whole.err;
        const std::string complete = read_file(output);

        // What a job killed during its second run leaves: the first record,
        // for the line formats with half a line after it.
        std::string cut;
        if (std::string(format) == "json") {
            std::string first = complete.substr(2, complete.find('\n', 2) - 2);
            if (first.back() == ',') first.pop_back();
            cut = "[\n" + first + "\n]\n";
        } else {
            std::size_t keep = 0;
            for (int lines = std::string(format) == "csv" ? 2 : 1; lines > 0; --lines) keep = complete.find('\n', keep) + 1;
            cut = complete.substr(0, keep) + complete.substr(keep, 20);
        }
        std::ofstream(output, std::ios::binary) << cut;
        const auto resumed =
            run_vantel(runs + " --format " + format + " --output " + shell_word(output) + " --resume", dir);
        ASSERT_EQ(resumed.status, 0) << format << ": " << resumed.err;
        EXPECT_EQ(resumed.err, "vantel: 1 of 3 runs are already in " + output + "; computing the other 2\n");

        // The same three runs as the whole job, but for the seconds taken.
        const std::regex seconds("\"seconds\": [0-9.]+|,[0-9]+\\.[0-9]{3},");
        const auto without_seconds = [&](const std::string& text) {
            std::vector<std::string> lines;
            std::string plain = std::regex_replace(text, seconds, "");
            std::size_t from = 0;
            for (std::size_t end; (end = plain.find('\n', from)) != std::string::npos; from = end + 1)
                lines.push_back(plain.substr(from, end - from));
            std::sort(lines.begin(), lines.end());
            return lines;
        };
        EXPECT_EQ(without_seconds(read_file(output)), without_seconds(complete)) << format;
        // Nothing left to compute: nothing computed.
        const auto again =
            run_vantel(runs + " --format " + format + " --output " + shell_word(output) + " --resume", dir);
        EXPECT_EQ(again.err, "vantel: 3 of 3 runs are already in " + output + "; computing the other 0\n");
    }
}

TEST(Imperfect_input, standard_input_the_version_and_the_defaults)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string data = dir.write("series.txt", series_rows(40, 2));
    const auto from_file = run_vantel(shell_word(data) + " --column 2 --n 30 --epochs 1 --format jsonl", dir);
    const auto piped = run_vantel("--column 2 --n 30 --epochs 1 --format jsonl --output - - < " + shell_word(data), dir);
    ASSERT_EQ(piped.status, 0) << piped.err;
    const Json a = json_lines(from_file.out).at(0);
    const Json b = json_lines(piped.out).at(0);
    EXPECT_EQ(b["file"].text, "-");
    for (const char* field : {"file_sha256", "value", "w2_sha256", "n", "column"})
        EXPECT_EQ(b[field].text, a[field].text) << field;
    EXPECT_EQ(a["file_sha256"].text, sha256_hex(read_file(data)));

    const auto version = run_vantel("--version", dir);
    EXPECT_EQ(version.out, "vantel " + std::string(Program_version) + "\n");

    // No option at all: column 1, N of every line up to 19625, method 5,
    // 100 epochs, from line 1, no rescaling.
    const auto defaults = run_vantel(shell_word(data) + " --format jsonl", dir);
    ASSERT_EQ(defaults.status, 0) << defaults.err;
    const Json d = json_lines(defaults.out).at(0);
    EXPECT_EQ(d["column"].text, "1");
    EXPECT_EQ(d["n"].text, "40");
    EXPECT_EQ(d["method"].text, "5");
    EXPECT_EQ(d["epochs"].text, "100");
    EXPECT_EQ(d["start"].text, "1");
    EXPECT_EQ(d["window"].kind, Json::Kind::null);
    EXPECT_EQ(d["rescale"].text, "none");
}

TEST(Imperfect_input, windows_start_where_they_fit_and_a_curve_gives_every_epoch)
{
    ASSERT_TRUE(real_mnist_present());
    Temp_dir dir;
    const std::string data = dir.write("series.txt", series_rows(40, 1));
    // Windows of 10 every 7 lines: 1, 8, 15, 22, 29 (29 + 9 = 38 fits, 36 does not).
    const auto windows = run_vantel(shell_word(data) + " --window 10 --step 7 --epochs 1 --format jsonl", dir);
    ASSERT_EQ(windows.status, 0) << windows.err;
    EXPECT_EQ(windows.err, "vantel: " + data + ": 5 windows of 10 values, 5 runs\n");
    std::vector<std::string> starts;
    for (const Json& r : json_lines(windows.out)) {
        starts.push_back(r["start"].text);
        EXPECT_EQ(r["window"].text, "10");
        EXPECT_EQ(r["n"].text, "10");
    }
    std::sort(starts.begin(), starts.end(), [](const auto& a, const auto& b) { return std::stoi(a) < std::stoi(b); });
    EXPECT_EQ(starts, (std::vector<std::string>{"1", "8", "15", "22", "29"}));

    // A window is the series of --start and --n: the same record.
    const auto third = run_vantel(shell_word(data) + " --start 15 --n 10 --epochs 1 --format jsonl", dir);
    const auto by_window = json_lines(windows.out);
    const auto it = std::find_if(by_window.begin(), by_window.end(), [](const Json& r) { return r["start"].text == "15"; });
    ASSERT_NE(it, by_window.end());
    EXPECT_EQ(json_lines(third.out).at(0)["w2_sha256"].text, (*it)["w2_sha256"].text);

    // The curve: one record per epoch, each what that many epochs give.
    const auto curve = run_vantel(shell_word(data) + " --n 30 --epochs 3 --curve --format jsonl --threads 1", dir);
    const auto points = json_lines(curve.out);
    ASSERT_EQ(points.size(), 3u);
    const auto two = run_vantel(shell_word(data) + " --n 30 --epochs 2 --format jsonl", dir);
    EXPECT_EQ(points[1]["epochs"].text, "2");
    EXPECT_EQ(points[1]["w2_sha256"].text, json_lines(two.out).at(0)["w2_sha256"].text);

    // Counts in any order, the largest first: each record is its count's own run.
    const auto unordered = run_vantel(shell_word(data) + " --n 30 --epochs 3,1,2 --format jsonl --threads 1", dir);
    ASSERT_EQ(json_lines(unordered.out).size(), 3u) << unordered.err;
    for (const Json& record : json_lines(unordered.out)) {
        const auto alone =
            run_vantel(shell_word(data) + " --n 30 --format jsonl --epochs " + record["epochs"].text, dir);
        EXPECT_EQ(record["w2_sha256"].text, json_lines(alone.out).at(0)["w2_sha256"].text) << record["epochs"].text;
    }
}

TEST(Imperfect_input, a_batch_checks_its_folders_first_and_says_when_there_is_nothing)
{
    Temp_dir dir;
    dir.write("DATA/readme.md", "no data here");
    dir.write("out/DATA_RESULT", "a file where the folder must be");
    std::filesystem::create_directories(dir.path() / "empty_out");
    const std::string d = dir.path().string();
    const auto blocked = run_vantel("--batch " + d + "/DATA --output " + d + "/out", dir);
    EXPECT_EQ(blocked.status, 2);
    EXPECT_NE(blocked.err.find("vantel: cannot write into " + d + "/out/DATA_RESULT/: "), std::string::npos)
        << blocked.err;
    const auto nothing = run_vantel("--batch " + d + "/DATA --output " + d + "/empty_out", dir);
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "vantel: no *.txt file in the data folder " + d + "/DATA/: nothing to compute\n");
}

}  // namespace
}  // namespace vantel::test

// The records against the contract users read in the README, and a record
// through each format and back by the reader of --resume.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_runner.h"
#include "cli/record_output.h"
#include "cli/records.h"
#include "cli/resume_reader.h"

namespace vantel::test {
namespace {

using namespace vantel::cli;

struct Documented_field {
    std::string name;
    std::string json;  // "string", "number or null", "array of strings", ...
};

// The README's record table.
std::vector<Documented_field> documented_fields()
{
    std::istringstream readme(read_file(std::string(VANTEL_SOURCE_DIR) + "README.md"));
    std::vector<Documented_field> fields;
    bool in_table = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.starts_with("| Field | CSV | JSON")) in_table = true;
        if (in_table && !line.starts_with("|")) break;
        if (!in_table || !line.starts_with("| `")) continue;
        std::vector<std::string> cells;
        for (std::size_t from = 2, bar; (bar = line.find(" | ", from)) != std::string::npos; from = bar + 3)
            cells.push_back(line.substr(from, bar - from));
        fields.push_back({cells.at(0).substr(1, cells.at(0).size() - 2), cells.at(2)});
    }
    return fields;
}

// A run with every field set, and a run without a value.
Run_record valued_record()
{
    Run_record r;
    r.file = "data, \"first\".txt";
    r.file_sha256 = std::string(64, 'a');
    r.value_text = "0.8765";
    r.correct_count = 8765;
    r.n = 600;
    r.column = 2;
    r.method = 3;
    r.epochs = 20;
    r.seconds = 1.25;
    r.w2_sha256 = std::string(64, 'b');
    r.relative_change = "-0.0094";
    r.problem = "refused by --strict: a warning";
    r.warnings = {"data.txt column 2: 1 of 600 values is not a number (at line 5: \"nan\"), read as 0",
                  "data.txt seems to separate its columns by \";\""};
    r.start = 7;
    r.window = 600;
    r.rescale = Rescale::zscore;
    r.datasets_sha256 = std::string(64, 'c');
    r.scale = 4;
    r.surrogates = {.count = 3, .kind = Surrogate_kind::iaaft, .seed = UINT64_MAX};  // beyond long long
    r.surrogate_values = {"0.8012", "0.79", "0.8123"};
    r.surrogate_mean = "0.8011666666666667";
    r.surrogate_sd = "0.011150037369668";
    r.z_score = "6.75";
    r.p_value = "0.25";
    return r;
}

Run_record record_without_value()
{
    Run_record r = valued_record();
    r.value_text.clear();
    r.relative_change.clear();
    r.problem = "Floating point overflow";
    r.warnings.clear();
    r.window = 0;
    r.rescale = Rescale::none;
    r.surrogate_values.clear();
    r.surrogate_mean = r.surrogate_sd = r.z_score = r.p_value = "";
    return r;
}

TEST(Record_fields, csv_and_json_write_the_documented_fields_in_order)
{
    const auto documented = documented_fields();
    ASSERT_EQ(documented.size(), 28u);
    const auto header = parse_csv(csv_header() + "\n");
    ASSERT_EQ(header.size(), 1u);
    const auto full = Json_reader::read(json_object(valued_record()));
    const auto empty = Json_reader::read(json_object(record_without_value()));
    ASSERT_TRUE(full && empty);
    ASSERT_EQ(header[0].size(), documented.size());
    ASSERT_EQ(full->members.size(), documented.size());
    for (std::size_t i = 0; i < documented.size(); ++i) {
        const auto& [name, json] = documented[i];
        EXPECT_EQ(header[0][i], name);
        EXPECT_EQ(full->members[i].first, name);
        const Json::Kind kind = json.starts_with("array")    ? Json::Kind::array
                                : json.starts_with("number") ? Json::Kind::number
                                                             : Json::Kind::string;
        EXPECT_EQ(full->members[i].second.kind, kind) << name;
        // Only a field documented "or null" may be null, as it is in a run without a value.
        const Json::Kind without_value = (*empty)[name].kind;
        EXPECT_TRUE(without_value == kind || (without_value == Json::Kind::null && json.ends_with("or null")))
            << name;
    }
}

TEST(Record_fields, a_record_reads_back_as_it_was_written_in_each_format)
{
    Run_record same_bytes_other_name = valued_record();
    same_bytes_other_name.file = "copy.txt";
    Run_record other_scale = valued_record();
    other_scale.scale = 1;
    Run_record other_seed = valued_record();
    other_seed.surrogates.seed = 1;
    const std::vector<Run_record> records = {valued_record(), record_without_value(), same_bytes_other_name,
                                             other_scale, other_seed};
    Temp_dir dir;
    for (const Format format : {Format::csv, Format::jsonl, Format::json}) {
        const std::string path = (dir.path() / ("records" + std::to_string(static_cast<int>(format)))).string();
        {
            Record_output output(format, path, false);
            for (std::size_t i = 0; i < records.size(); ++i) output.add(records[i], i);
            ASSERT_FALSE(output.finish(false, false));
        }
        const std::vector<Run_record> back = read_resumed(format, path).records;
        ASSERT_EQ(back.size(), records.size()) << read_file(path);
        for (std::size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(json_object(back[i]), json_object(records[i])) << read_file(path);
        // Done: the runs with a value, a file's copy under another name, another
        // scale and other surrogates apart.
        EXPECT_EQ(Record_output(format, path, true).done().size(), 4u);
        // A damaged line after them is named by its line (the CSV header is line 1).
        if (format == Format::json) continue;
        std::ofstream(path, std::ios::app) << "a,b\n";
        try {
            read_resumed(format, path);
            ADD_FAILURE() << "a damaged line was read";
        } catch (const Vantel_error& error) {
            const char* said = format == Format::csv ? "line 7 has 2 fields" : "line 6 is not a JSON record";
            EXPECT_NE(std::string(error.what()).find(said), std::string::npos) << error.what();
        }
    }
}

TEST(Record_fields, json_is_utf_8_whatever_the_bytes_and_a_table_row_is_one_line)
{
    const std::vector<std::pair<std::string, std::string>> strings = {
        {"caf\xC3\xA9.txt", "\"caf\xC3\xA9.txt\""},              // UTF-8 stays
        {"caf\xE9.txt", "\"caf\xEF\xBF\xBD.txt\""},              // a Latin-1 byte
        {"\xC0\xAF.txt", "\"\xEF\xBF\xBD\xEF\xBF\xBD.txt\""},  // an overlong '/'
        {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},          // four bytes
        {"a\tb\"\\", "\"a\\u0009b\\\"\\\\\""},
    };
    for (const auto& [text, json] : strings) EXPECT_EQ(json_string(text), json) << text;

    Run_record r = valued_record();
    r.file = "a\tb\nc\\d";
    // With a scale and surrogates, their columns; a single run's value is not shown alone.
    const std::string row = "a\\tb\\nc\\\\d\t2\t4\t3\t20\t0.8765\t-0.0094\t3 iaaft\t0.8011666666666667\t"
                            "0.011150037369668\t6.75\t0.25\n";
    const std::string header = "file\tcolumn\tscale\tmethod\tepochs\tvalue\trelative_change\tsurrogates\t"
                               "surrogate_mean\tsurrogate_sd\tz_score\tp_value\n";
    EXPECT_EQ(text_table({r}, false, false), header + row);
    EXPECT_EQ(text_table({r}, true, false), header + row);
}

}  // namespace
}  // namespace vantel::test

// Where the records of data-file runs go: standard output or --output.
//
// CSV and JSON Lines are written record by record, each appended and handed
// to the system as its run finishes (in the order the runs finish), so that
// a job killed part-way keeps every finished run; --resume then reads them
// back and the job computes only the others. JSON (one array) and the text
// table are written whole at the end: a JSON file goes to a temporary file
// that then takes the file's name, so it holds the old records or all the
// new ones, never a part.
#pragma once

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/records.h"

namespace vantel::cli {

class Record_output {
public:
    // Opens the output (a fresh --output file is replaced, a resumed one
    // read and kept). Throws Vantel_error when the file to resume cannot be
    // read as records of this format, or the output cannot be opened.
    Record_output(Format format, const std::string& path, bool resume);
    ~Record_output();
    Record_output(const Record_output&) = delete;
    Record_output& operator=(const Record_output&) = delete;

    // The runs whose records in the file being resumed have a value (see
    // run_key).
    const std::set<std::string>& done() const { return done_; }

    // A finished run: CSV and JSON Lines write it now; `order` is its place
    // in the table of the formats written whole.
    void add(const Run_record& record, std::size_t order);

    // Writes what is written whole (text with the value alone when
    // `single_value`, and a start column when `with_start`). Returns the
    // problem of any write that failed, or nothing.
    std::optional<std::string> finish(bool single_value, bool with_start);

private:
    void write_now(const std::string& line);

    Format format_;
    std::string path_;
    std::FILE* stream_ = nullptr;  // CSV and JSON Lines
    bool own_stream_ = false;
    std::set<std::string> done_;
    std::vector<std::pair<std::size_t, Run_record>> whole_;  // text and JSON, with their order
    std::vector<std::string> resumed_json_;                  // JSON objects kept from the resumed file
    std::optional<std::string> failure_;
};

}  // namespace vantel::cli

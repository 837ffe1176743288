// The records an earlier run of the command wrote, read back for --resume,
// each field as record_fields() declares it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/json_reader.h"
#include "cli/options.h"
#include "cli/records.h"

namespace vantel::cli {

struct Resumed_records {
    std::vector<Run_record> records;
    // The length of the text up to the end of its last complete record: a
    // line cut short when a job was killed is not one, and goes.
    std::size_t complete = 0;
    // JSON: each record as it was written, since the array is written again
    // whole.
    std::vector<std::string> json_items;
};

// The records of a CSV, JSON Lines or JSON text; `path` names the file in
// the problems. Throws Vantel_error when the text is not records of that
// format.
Resumed_records read_records(Format format, const std::string& text, const std::string& path);

// The same from the file `path`; no records when there is no file yet.
Resumed_records read_resumed(Format format, const std::string& path);

// A JSON object's record fields; a field missing or null keeps its default.
Run_record record_from_json(const Json_value& object);

// A CSV row: its fields, and the line (from 1) it starts on; a quoted field
// may hold line breaks.
struct Csv_row {
    std::vector<std::string> fields;
    std::size_t line = 0;
};

// The lines of a CSV text split into fields, quoted fields holding commas,
// quotes and line breaks. `complete` is set to the length of the text up to
// the end of the last complete line.
std::vector<Csv_row> csv_rows(const std::string& text, std::size_t& complete);

}  // namespace vantel::cli

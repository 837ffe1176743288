// The records of the runs of data files, and their text, CSV and JSON forms.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"

namespace vantel::cli {

// One finished run, with what traces it to its input and program.
struct Run_record {
    std::string file;         // as given on the command line
    std::string file_sha256;  // of the file's bytes
    std::string value_text;   // as the window publishes it; empty when the run has no value
    int correct_count = 0;
    int n = 0;                // as Show corrected it
    int column = 0;
    int method = 0;
    int epochs = 0;
    double seconds = 0;
    std::string w2_sha256;    // of W2 as 260 little-endian doubles, h outer, o inner
    // On the run of the second epoch count: (second - first) / second of the
    // two runs of its file, column and method; empty otherwise, and when
    // either run has no value.
    std::string relative_change;
    // Why the run has no value: the message box or error the window would
    // have shown.
    std::string problem;
    // A stop (Ctrl-C) ended the run before its value.
    bool stopped = false;
    // The row START adds to the result list; empty without a value.
    std::string result_row;
};

// The CSV header: file,file_sha256,value,correct_count,n,column,method,
// epochs,seconds,w2_sha256,relative_change,problem,version
extern const char* const Csv_header;

// Text written to the output. Text: the value alone when there is exactly
// one run of one epoch count, else a tab-separated table with a header.
std::string format_records(const std::vector<Run_record>& records, Format format, bool single_value);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csv_field(const std::string& text);
// A JSON string with its quotes.
std::string json_string(const std::string& text);

}  // namespace vantel::cli

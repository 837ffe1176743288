// The records of the runs of data files, and their text, CSV, JSON and JSON
// Lines forms.
//
// One record contract for every format, declared once in record_fields():
// the CSV header and line, the JSON object and the reader of --resume all
// follow it, so that a new field is one more row; new fields are only ever
// appended. In JSON a field without a value is null (a run without a value
// has null value, correct_count and w2_sha256); in CSV it is empty.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "engine/rescaling.h"
#include "engine/surrogates.h"

namespace vantel::cli {

// One finished run, with what traces it to its input and program.
struct Run_record {
    std::string file;         // as given on the command line ("-" for standard input)
    std::string file_sha256;  // of the file's bytes
    std::string value_text;   // as the window publishes it; empty when the run has no value
    int correct_count = 0;
    int n = 0;                // as Show corrected it
    int column = 0;
    int method = 0;
    int epochs = 0;
    double seconds = 0;
    std::string w2_sha256;    // of W2 as 260 little-endian doubles, h outer, o inner
    // On the run of the second of exactly two epoch counts: (second - first)
    // / second of the two runs of its series; "n/a" when the second value is
    // 0; empty otherwise, and when either run has no value.
    std::string relative_change;
    // Why the run has no value: the message box or error the window would
    // have shown, or the command's own refusal.
    std::string problem;
    std::vector<std::string> warnings;
    int start = 1;            // the line of the series' first value
    int window = 0;           // the window's length with --window, else 0
    Rescale rescale = Rescale::none;
    std::string datasets_sha256;  // of the MNIST-10 files the run used
    int scale = 1;                // the series coarse-grained at this scale; 1 is the series itself
    // The surrogates computed beside the series (none without
    // --surrogates): how many, their kind and seed, their values as texts
    // (in order), and the summary's numbers as shortest round-trip texts,
    // empty where they are undefined.
    Surrogate_options surrogates = {};
    std::vector<std::string> surrogate_values;
    std::string surrogate_mean;
    std::string surrogate_sd;
    std::string z_score;
    std::string p_value;
    // A stop (Ctrl-C) ended the run before its value: it is not written.
    bool stopped = false;
    // The row START adds to the result list; empty without a value.
    std::string result_row;
};

// A field's value apart from its format: no text when the field has none,
// else its one text, or a list's items.
using Field_texts = std::vector<std::string>;

enum class Field_type {
    text,       // CSV: the text; JSON: a string
    number,     // CSV: the text; JSON: a number, null for "n/a"
    text_list,  // CSV: the items joined by "; "; JSON: an array of strings
    number_list,  // CSV: the items joined by "; "; JSON: an array of numbers
};

struct Record_field {
    std::string_view name;
    Field_type type;
    Field_texts (*get)(const Run_record&);
    // Takes the field back from a record read; a field the record does not
    // hold (the version) is passed over.
    void (*set)(Run_record&, const Field_texts&);
};

// The fields of a record, in the order every format writes them.
std::span<const Record_field> record_fields();

// The fields that tell one run from another, joined: a run whose record
// in an output file has a value is not computed again by --resume. The file
// counts as JSON writes its name (see json_string).
// The surrogates' kind and seed count only when there are surrogates.
struct Run_identity {
    const std::string& file;
    const std::string& file_sha256;
    int column = 0;
    int method = 0;
    int epochs = 0;
    int n = 0;
    int start = 1;
    int window = 0;
    Rescale rescale = Rescale::none;
    int scale = 1;
    Surrogate_options surrogates = {};
};
std::string run_key(const Run_identity& run);
std::string run_key(const Run_record& record);

// The items of a list field as CSV writes it, joined by "; ".
Field_texts split_list(const std::string& text);

// The CSV header line, without its line break.
std::string csv_header();
std::string csv_line(const Run_record& record);
// One JSON object on one line (a line of JSON Lines, an item of JSON).
std::string json_object(const Run_record& record);

// The text table of several runs, or the value alone when `single_value`;
// `with_start` adds the series' first line (windows along a file). A tab,
// line break or backslash in a file name is written \t, \n, \r or \\, so
// that a row stays one line of its fields.
std::string text_table(const std::vector<Run_record>& records, bool single_value, bool with_start);

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csv_field(const std::string& text);
// A JSON string with its quotes, always valid UTF-8: a byte that is not
// part of a UTF-8 character is written as U+FFFD, the replacement character.
std::string json_string(const std::string& text);

}  // namespace vantel::cli

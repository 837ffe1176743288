// The vantel command's arguments: what they say, and every problem with them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/rescaling.h"
#include "engine/surrogates.h"

namespace vantel::cli {

enum class Format { text, csv, json, jsonl };

struct Options {
    bool help = false;
    bool version = false;
    std::vector<std::string> files;  // "-" is standard input
    std::string batch_dir;           // --batch: the data folder; empty otherwise
    bool all_columns = false;
    std::vector<int> columns = {1};  // when not all_columns
    std::vector<int> epochs = {100};
    bool curve = false;              // one record per epoch 1..epochs
    std::string n = "19625";         // as typed: 5..19625 when given; the default is corrected as Show corrects it
    bool n_given = false;
    int start = 1;                   // the line of the first value
    int window = 0;                  // 0: one series per column; else windows of this many values
    int step = 0;                    // 0: the window's length
    Rescale rescale = Rescale::none;
    std::vector<int> methods = {5};
    std::vector<int> scales = {1};   // each series coarse-grained at each scale
    Surrogate_options surrogates;    // count 0: none
    int threads = 0;                 // 0: every available core
    Format format = Format::text;
    std::string output;              // empty: standard output ("--output -" too)
    bool resume = false;
    bool overwrite = false;          // an output that holds records may be replaced
    bool strict = false;
    std::string mnist_dir;           // ends with '/'; empty: as the program folder or init file says
    std::string t_pattern_file;      // empty: the program folder's
    std::string init_file;           // --batch only; empty: the program folder's
    // Options that only the runs of data files take, as given; --batch
    // refuses them, since the init file sets those runs there.
    std::vector<std::string> run_options;
};

// Reads the arguments (without the program name). Problems of form, one
// text per problem, go to `problems`; with any of them the options are not
// to be used.
Options parse_arguments(const std::vector<std::string>& arguments, std::vector<std::string>& problems);

extern const char* const Usage;

}  // namespace vantel::cli

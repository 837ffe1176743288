// One Vantel value computed without the window: the same handlers as the
// window's START (open the file, extract the column, the nine steps), driven
// through an in-memory window with no pauses.
#pragma once

#include <string>

#include "engine/core/engine_state.h"

namespace vantel {

struct Headless_request {
    std::string data_file;
    int column = 1;
    int n = 19625;
    int method = 5;
    int epochs = 100;
    std::string mnist_dir;     // ends with '/'
    std::string t_pattern_file;
    std::string app_dir;       // the program folder, ends with '/'
};

struct Headless_result {
    std::string value_text;  // as the window publishes it
    int correct_count = 0;
    int n = 0;               // after correction
    int column = 0;          // after correction
    int method = 0;
    int epochs = 0;          // after correction
    double seconds = 0;
    std::string w2_sha256;   // of W2 as 260 little-endian doubles, h outer, o inner
};

// Throws Vantel_error with the text the window would have shown.
Headless_result compute_headless(Engine_state& state, const Headless_request& request);

// SHA-256 of W2 as 260 little-endian doubles in the order h = 0..25, o = 0..9.
std::string w2_fingerprint(const Vedero_network& net);

}  // namespace vantel

// Vantel values computed without the window: the same handlers as the
// window's START (open the file, extract the column, the nine steps), driven
// through an in-memory window with no pauses.
//
// The datasets are loaded once (Loaded_datasets) and read by any number of
// networks (Headless_network), each on a thread of its own.
#pragma once

#include <memory>
#include <string>

#include "engine/engine_state.h"

namespace vantel {

struct Engine_workspace;
class Sparse_image_cache;

// One run. Column, N and epochs are the texts the window's edits would hold:
// the handlers read and correct them as they do for a user.
struct Headless_request {
    std::string data_file;
    std::string column = "1";
    std::string n = "19625";
    int method = 5;
    std::string epochs = "100";
};

struct Headless_result {
    std::string value_text;  // as the window publishes it; empty when it published none
    std::string result_row;  // the row START added to the result list, or empty
    int correct_count = 0;
    int n = 0;               // after correction
    int column = 0;          // after correction
    int method = 0;
    int epochs = 0;          // after correction
    double seconds = 0;
    std::string w2_sha256;   // of W2 as 260 little-endian doubles, h outer, o inner
    // The first message box or error the window would have shown; a run
    // with one has no value.
    std::string problem;
};

// Where step 2 finds its files.
struct Dataset_source {
    std::string app_dir;    // the program folder, ends with '/'
    std::string mnist_dir;  // ends with '/'
    std::string t_pattern_file;
};

// The MNIST-10 datasets and the T-pattern as step 2 loads them, with their
// sparse images, made once; afterwards only read.
class Loaded_datasets {
public:
    // Throws Vantel_error with the text the window would have shown.
    explicit Loaded_datasets(const Dataset_source& source);
    ~Loaded_datasets();
    Loaded_datasets(const Loaded_datasets&) = delete;
    Loaded_datasets& operator=(const Loaded_datasets&) = delete;

    Pattern_datasets& datasets() { return owner_->datasets; }
    const std::string& app_dir() const { return app_dir_; }
    const std::shared_ptr<Sparse_image_cache>& sparse_images() const { return sparse_; }

private:
    std::string app_dir_;
    std::unique_ptr<Engine_state> owner_;
    std::shared_ptr<Sparse_image_cache> sparse_;
};

// A network that computes one run after another on loaded datasets. Each
// run starts from an Engine_state of its own, as the window's START would
// after start-up; only the engine's caches, which check what they were made
// from, go from one run to the next. Use one per thread.
class Headless_network {
public:
    explicit Headless_network(Loaded_datasets& datasets);
    ~Headless_network();
    Headless_network(const Headless_network&) = delete;
    Headless_network& operator=(const Headless_network&) = delete;

    Headless_result run(const Headless_request& request);

private:
    Loaded_datasets& datasets_;
    std::shared_ptr<Engine_workspace> workspace_;
};

// SHA-256 of W2 as 260 little-endian doubles in the order h = 0..25, o = 0..9.
std::string w2_fingerprint(const Vedero_network& net);

}  // namespace vantel

// The runs of data files: what each run computes, and computing it from the
// file's lines through the computation API, as START does in the window.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli/records.h"
#include "engine/run_pool.h"
#include "engine/vantel.h"

namespace vantel::cli {

struct Data_file {
    std::string path;          // as given
    std::string sha256;        // of its bytes
    std::int32_t columns = 0;  // of the first line; 0 for an empty line
};

struct Run_request {
    std::size_t file = 0;      // index of the file
    std::int32_t column = 1;   // from 1, within the file's columns
    int method = 5;
    int epochs = 100;          // 1 or more
    std::string n_text;        // N as typed; corrected by the file's lines as Show corrects it
};

// The lines of the files whose runs are in progress: read by a file's first
// run and freed after its last, so that a long list of files is not held in
// memory at once. Safe to use from several threads.
class Line_cache {
public:
    Line_cache(const std::vector<Data_file>& files, const std::vector<Run_request>& requests);
    // The file's lines, read now unless another run of the file has them.
    std::shared_ptr<const std::vector<std::string>> lines(std::size_t file);
    // One run of the file is over; after the last its lines go.
    void run_done(std::size_t file);

private:
    struct Entry {
        std::mutex lock;
        std::shared_ptr<const std::vector<std::string>> lines;
        std::size_t runs_left = 0;
    };
    const std::vector<Data_file>& files_;
    std::unique_ptr<Entry[]> entries_;
};

// The series of the run: column `request.column` of the first N lines,
// with N as Show corrects it; n and column go into the record.
std::vector<double> extract_series(const std::vector<std::string>& lines, const Run_request& request,
                                   Run_record& record);

// The pool's job for the runs of data files: run i computes requests[i]
// into computed[i], reading its file's lines through the cache.
Run_pool::Job data_run_job(const std::vector<Data_file>& files, const std::vector<Run_request>& requests,
                           Line_cache& lines, std::vector<Run_record>& computed, const std::atomic<bool>* stop);

// One run through the network. A problem (a number beyond the double range,
// an overflow of the network's arithmetic) becomes the record's problem.
Run_record compute_run(Network& network, const Data_file& file, const std::vector<std::string>& lines,
                       const Run_request& request, const std::atomic<bool>* stop);

}  // namespace vantel::cli

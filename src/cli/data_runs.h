// The runs of data files: the series each computes, read with the window's
// own readers, and computing them through the computation API.
//
// A Series_job is one series of a file (a column, from a start line, N or
// a window's values long, perhaps rescaled) with one fill method, trained
// once to its largest epoch count and tested at each count: one record per
// count, bit for bit what START shows for that count.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli/records.h"
#include "engine/rescaling.h"
#include "engine/run_pool.h"
#include "engine/vantel.h"
#include "series/series_reader.h"

namespace vantel::cli {

struct Data_file {
    std::string path;                   // as given; "-" is standard input
    std::string sha256;                 // of its bytes
    std::int32_t columns = 0;           // of the first line; 0 for an empty line
    std::size_t lines = 0;
    std::vector<std::string> warnings;  // on the file as a whole
    // What tells a later reading that the file is still the one planned.
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
};

struct Series_job {
    std::size_t file = 0;       // index of the file
    std::int32_t column = 1;    // from 1, within the file's columns
    int method = 5;
    int start = 1;              // the line of the first value
    int n = 5;                  // values, as Show corrects N for the lines from `start`
    int window = 0;             // the window's length with --window, else 0
    Rescale rescale = Rescale::none;
    std::vector<int> epochs;    // the counts tested, each a record
    std::vector<bool> wanted;   // per count: its record is written (not already in a resumed file)
    std::size_t first_record = 0;  // the place of its first record in the run order
    bool relative_change = false;  // exactly two counts: the second record gets the change
    int scale = 1;                 // the series is coarse-grained at this scale before it is rescaled
    Surrogate_options surrogates;  // computed beside the series, each trained like it

    // The pool runs of the job: the series and each surrogate.
    std::size_t runs() const { return 1 + static_cast<std::size_t>(surrogates.count); }
};

// The tables of the files whose jobs are in progress: read by a file's
// first run and freed after its last, so that a long list of files is not
// held in memory at once. Standard input, read once, stays. Safe to use
// from several threads.
class Table_cache {
public:
    Table_cache(const std::vector<Data_file>& files, const std::vector<Series_job>& jobs);
    // Keeps a table that cannot be read again (standard input).
    void keep(std::size_t file, std::shared_ptr<const Data_table> table);
    // The file's table, read now unless another job of the file has it.
    // Throws Vantel_error when the file cannot be read or has changed since
    // it was planned.
    std::shared_ptr<const Data_table> table(std::size_t file);
    // One run of the file is over; after the last its table goes.
    void run_done(std::size_t file);

private:
    struct Entry {
        std::mutex lock;
        std::shared_ptr<const Data_table> table;
        std::size_t runs_left = 0;
        bool kept = false;
    };
    const std::vector<Data_file>& files_;
    std::unique_ptr<Entry[]> entries_;
};

// The pool runs of jobs, one after another: each job's series, then its
// surrogates.
class Job_runs {
public:
    explicit Job_runs(const std::vector<Series_job>& jobs);
    std::size_t size() const { return first_.back(); }
    struct Place {
        std::size_t job = 0;
        std::size_t variant = 0;  // 0 the series, k >= 1 its surrogate k
    };
    Place place(std::size_t run) const;

private:
    std::vector<std::size_t> first_;  // of each job, then the total
};

// The records of a job's run `variant` (0: the series; k: its surrogate
// k, see engine/surrogates.h), computed with `network`: warnings of the file and
// of the column's fields; with `strict`, a series with any of them is
// refused instead. A problem of the series (a column without a single
// number, a number beyond the double range, a constant series that cannot
// be rescaled, an overflow of the network's arithmetic) becomes every
// record's problem. The datasets' warning, when their MNIST-10 files are
// not the published ones, is in every record's warnings.
// `epochs_trained` counts every epoch trained, for the progress line.
// The series is read, coarse-grained at the job's scale, made into the
// surrogate when it is one, and rescaled.
std::vector<Run_record> compute_job(Network& network, const Data_file& file, const Data_table& table,
                                    const Series_job& job, std::size_t variant, bool strict,
                                    const std::atomic<bool>* stop, std::atomic<std::size_t>* epochs_trained = nullptr);

// A job's records from those of its runs (variants[0] the series'): each
// with its surrogates' values and what the value says against them. A
// surrogate without a value leaves the record without one, its problem
// naming the surrogate.
std::vector<Run_record> with_surrogates(const Series_job& job, std::vector<std::vector<Run_record>> variants);

struct Job_run_plan {
    const std::vector<Data_file>& files;
    const std::vector<Series_job>& jobs;
    const Job_runs& runs;
};

// The pool's run r computes its job's variant into variants[job][variant],
// reading its file's table through the cache.
Run_pool::Job series_job_runner(const Job_run_plan& plan, Table_cache& tables,
                                std::vector<std::vector<std::vector<Run_record>>>& variants, bool strict,
                                const std::atomic<bool>* stop, std::atomic<std::size_t>* epochs_trained);

// The epochs the jobs' runs train: each its largest count.
std::size_t epochs_to_train(const std::vector<Series_job>& jobs);

// The records of a job before its runs give them values: every one with
// `problem` (none when empty; the records of a job that could not run, its
// file unreadable, say) and the warnings, then the datasets' warning.
std::vector<Run_record> job_records(const Datasets& datasets, const Data_file& file, const Series_job& job,
                                   const std::string& problem, const std::vector<std::string>& warnings = {});

}  // namespace vantel::cli

// "Open All Files" without the window: every "*.txt" file of a data folder,
// computed by the batches' rules (batch_rules.h), with the same result files
// as the window's batch writes. Each column is one job of the two epoch
// counts; the jobs go to a pool of networks, and each file's files are
// written as soon as its jobs are done.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/data_runs.h"
#include "cli/job_factory.h"
#include "cli/records.h"

namespace vantel::cli {

struct Batch_settings {
    std::string data_dir;  // ends with '/'
    std::string app_dir;   // receives "Results" and "DATA_RESULT"; ends with '/'
    std::vector<std::string> init_lines;
};

// A line for the user: a path written (standard output) or a problem of a
// file (standard error, and the batch has failed). The lines and the files
// come in the order of the listing.
struct Batch_report {
    bool problem = false;
    std::string text;
};

class Folder_batch {
public:
    // Lists and reads the files, and plans the runs of those computed.
    explicit Folder_batch(const Batch_settings& settings);

    // The data files that the folder listing holds, computed or not.
    std::size_t listed() const { return files_.size(); }
    const std::vector<Data_file>& files() const { return data_files_; }
    const std::vector<Series_job>& jobs() const { return jobs_.jobs(); }
    // Writes the files of the listing, in its order, up to the first whose
    // jobs have not all finished (records[job] is set for the jobs
    // finished), once each; a file that needs no run is done when its turn
    // comes. At the end (`final`), every file not yet written is, and one
    // whose jobs were cut short by a stop gets the columns that were
    // finished, as after a STOP in the window.
    void write_finished(const std::vector<const std::vector<Run_record>*>& records, bool final);
    // Lines to print since the last call.
    std::vector<Batch_report> take_reports();

private:
    struct File {
        std::string name;
        std::string path;
        std::string skipped;       // why it is not computed, when it is not and says so
        bool placeholder = false;  // gets the placeholder result file
        int columns = 0;           // computed columns, one job each from first_job
        std::size_t first_job = 0;
        bool written = false;
    };

    void plan(const std::string& name);
    void write_computed(File& file, const std::vector<const std::vector<Run_record>*>& records);
    void save(const std::string& path, const std::vector<std::string>& lines, const File& file);
    void save_run_log(const std::vector<std::string>& rows, const File& file);
    void problem(const File& file, std::string_view text);

    Batch_settings settings_;
    Series_plan runs_;
    std::vector<File> files_;
    std::vector<Data_file> data_files_;
    Job_factory jobs_;
    std::vector<Batch_report> reports_;
};

}  // namespace vantel::cli

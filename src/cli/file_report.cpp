#include "cli/file_report.h"

#include "cli/driving.h"

namespace vantel::cli {

std::size_t File_report::take(const Series_job& job, const std::vector<Run_record>& records)
{
    std::size_t done = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!job.wanted[i]) continue;
        const Run_record& record = records[i];
        const std::string which =
            record.file + " column " + std::to_string(record.column) +
            (job.window > 0 || job.start > 1 ? " from line " + std::to_string(job.start) : std::string()) +
            " method " + std::to_string(record.method) + " epochs " + std::to_string(record.epochs);
        for (const std::string& warning : record.warnings)
            if (warned_.insert(warning).second) {
                progress_.clear();
                say("warning: " + warning);
            }
        if (record.stopped) {
            stopped_.push_back(which);
            continue;
        }
        ++done;
        output_.add(record, job.first_record + i);
        if (record.problem.empty()) continue;
        failed_ = true;
        progress_.clear();
        say(which + ": " + record.problem);
    }
    return done;
}

int File_report::finish(bool single_value, bool with_start, std::size_t done, std::size_t wanted)
{
    if (const auto failure = output_.finish(single_value, with_start)) {
        say(*failure);
        failed_ = true;
    }
    if (stop_requested().load() && done < wanted) {
        for (const std::string& which : stopped_) say(which + ": stopped before its value");
        say("interrupted after " + std::to_string(done) + " of " + plural(wanted, "run", "runs") +
            "; the finished runs have been written");
        return Interrupted;
    }
    return failed_ ? Some_failed : 0;
}

}  // namespace vantel::cli

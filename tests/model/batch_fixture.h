// A program whose START is scripted: each run publishes the next listed
// value, so the batches are tested fast and deterministically. The program
// folder is temporary, and the clock advances one second per reading.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "support/test_program.h"

namespace vantel::test {

inline const std::string Stopped = "<stopped>";  // the run empties Edit_Vantel, publishes nothing
inline const std::string Refused = "<refused>";  // the run leaves Edit_Vantel untouched

struct Batch_fixture {
    Batch_fixture()
    {
        state.run.App_dir = app_dir;
        state.run.One_second = one_second_units();
        for (const char* folder : {"Results", "DATA_RESULT", "DATA"})
            std::filesystem::create_directories(dir.path() / folder);
        window.set_lines(Control::Memo3, {"3", "7", "AUTO=NO", "METHOD=5", "N=500", "Path="});
        window.set_lines(Control::Memo4, {});
        // 7 March 2024, 09:15:00.
        program.session.now = [this, clock = 45358.0 + 33300 / 86400.0]() mutable {
            return clock += state.run.One_second;
        };
        program.session.on(Control::Button_start, [this] { scripted_start(); });
    }

    void loaded(int columns, const std::string& name = "series1.txt", int preview = 10)
    {
        state.series.Preview_count = preview;
        state.series.Column_count = columns;
        state.series.File_name = name;
        window.set_text(Control::Label11, name);
    }

    void scripted_start()
    {
        epochs_seen.push_back(window.text(Control::Edit_epoch));
        if (epochs_seen.size() > published.size()) {
            ADD_FAILURE() << "more runs than scripted";
            return;
        }
        const std::string& value = published[epochs_seen.size() - 1];
        if (value == Refused) return;
        window.set_text(Control::Edit_Vantel, value == Stopped ? "" : value);
        if (value != Stopped)
            window.add_line(Control::Memo_Result, window.text(Control::Edit_column) + "\t" + value +
                                                      "\t" + window.text(Control::Label11));
    }

    std::vector<std::string> listing(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string read(const std::string& relative) const
    {
        std::ifstream file(dir.path() / relative, std::ios::binary);
        EXPECT_TRUE(file.good()) << relative << " was not written";
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // The one run log that must be in "Results".
    std::string run_log() const
    {
        const auto logs = listing("Results");
        EXPECT_EQ(logs.size(), 1u);
        return logs.empty() ? "" : read("Results/" + logs[0]);
    }

    Test_program program;
    Temp_dir dir;
    const std::string app_dir = dir.path().string() + "/";
    Fake_window& window = program.window;
    Program_state& state = *program.state;
    std::vector<std::string> published;
    std::vector<std::string> epochs_seen;  // Edit_epoch at each START
};

inline std::string crlf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

}  // namespace vantel::test

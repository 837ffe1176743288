#include "app/startup.h"

#include <filesystem>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "engine/t_pattern_reader.h"

namespace vantel {

namespace {

// Lines end at CR LF, CR or LF; a final line break does not start an empty line.
std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

std::string remove_all(const std::string& line, const std::string& piece)
{
    std::string rest;
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(piece, from)) != std::string::npos; from = at + piece.size())
        rest.append(line, from, at - from);
    rest.append(line, from, std::string::npos);
    return rest;
}

// Every entry whose name matches "*.txt", sub-folders and hidden files
// included, in the order the folder yields them. The match is case-sensitive
// here, as names are on this file system: "A.TXT" is not listed.
std::vector<std::string> data_file_names(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return names;
    // A failure part-way ends the listing with what was found so far.
    for (const std::filesystem::directory_iterator end; !error && entries != end;
         entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".txt") == 0) names.push_back(name);
    }
    return names;
}

}  // namespace

void FormCreate(Session& session)
{
    auto& state = session.state;
    auto& window = session.window;

    state.datasets.Datasets_pending = true;
    state.run.One_second = one_second_units();
    state.run.App_dir = session.executable_dir;
    if (!state.run.App_dir.empty() && state.run.App_dir.back() != '/') state.run.App_dir += '/';

    window.set_lines(Control::Memo3, {});
    window.set_lines(Control::Memo4, {});

    window.set_lines(Control::Memo3, split_lines(load_text_file(state.run.App_dir + "init.txt")));

    const std::string method_line = init_line(session, 3);
    for (int k = 1; k <= 6; ++k)
        if (method_line == "METHOD=" + std::to_string(k)) window.select_method(k);

    window.set_text(Control::Edit_N, remove_all(init_line(session, 4), "N="));

    window.set_lines(Control::Memo5, {});
    for (const std::string& name : data_file_names(state.run.App_dir + "DATA"))
        window.add_line(Control::Memo5, name);

    if (init_line(session, 2) == "AUTO=YES") {
        window.set_text(Control::Label12, "AUTO");
        window.set_font_color(Control::Label12, 0xFF0000);
        window.set_timer_enabled(true);
    } else {
        window.set_text(Control::Label12, "");
    }
}

void Timer1Timer(Session& session)
{
    // Off before the batch starts: the batch pumps messages, and a live timer
    // would start it again inside itself every 4 seconds.
    session.window.set_timer_enabled(false);
    session.trigger(Control::Open_ALL_file_button);
}

}  // namespace vantel

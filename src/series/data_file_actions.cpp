#include "series/data_file_actions.h"

#include <string>
#include <vector>

#include "series/data_file.h"
#include "base/number_format.h"
#include "series/text_readers.h"

namespace vantel {

namespace {

// The file's name without its folder: the part after the last "/" (this
// platform's separator), "\" or ":".
std::string file_name_part(const std::string& path)
{
    const auto last = path.find_last_of("/\\:");
    return last == std::string::npos ? path : path.substr(last + 1);
}

// Every occurrence of `pattern` removed, scanning left to right without
// looking again at the text that a removal brings together.
std::string remove_all(const std::string& text, const std::string& pattern)
{
    std::string result;
    std::size_t from = 0;
    for (;;) {
        const auto found = text.find(pattern, from);
        if (found == std::string::npos) break;
        result.append(text, from, found - from);
        from = found + pattern.size();
    }
    result.append(text, from);
    return result;
}

// Label11 names the file and, when its reading found it is not plain text,
// says so beside the name.
std::string file_label(const std::string& path, const Data_text& text)
{
    std::string label = file_name_part(path);
    if (text.kind == Text_kind::utf16) return label + " (UTF-16 text: save it as UTF-8 or ASCII)";
    if (text.kind == Text_kind::not_text) return label + " (not a text file)";
    if (text.nul_line != 0)
        label += " (NUL byte at line " + std::to_string(text.nul_line) + ": the lines after it are not read)";
    return label;
}

std::int32_t line_count(const Series_input& series)
{
    return series.Data_lines ? static_cast<std::int32_t>(series.Data_lines->size()) : 0;
}

}  // namespace

void Open_file_buttonClick(Session& session)
{
    Series_input& series = session.state.series;
    Window& window = session.window;

    series.Preview_count = 0;                                              // 1
    window.set_enabled(Control::Open_file_button, false);                  // 2
    const auto path = window.choose_file("Open TXT file", "Data(*.txt)|*.txt");  // 3
    if (path) {
        window.set_lines(Control::Memo_user_data, {});                     // 4
        series.Data_lines.emplace();                                       // 5: the old lines go
        Data_text text = read_data_text(*path);  // an error ends the opening here
        series.Data_lines = std::move(text.lines);
        const std::vector<std::string>& lines = *series.Data_lines;
        const auto count = static_cast<std::int32_t>(lines.size());

        window.set_text(Control::Label_file_name, "file name=" + *path);   // 6
        window.set_text(Control::Label11, file_label(*path, text));
        window.set_text(Control::Label_total_lines, "Total lines=" + std::to_string(count));

        series.Preview_count = count > 10 ? 10 : count;                    // 7
        if (series.Preview_count < 3) {                                    // 8
            window.message("File is not correct");
        } else {                                                           // 9
            for (std::int32_t i = 0; i < series.Preview_count; ++i)
                window.add_line(Control::Memo_user_data, lines[static_cast<std::size_t>(i)]);
            series.Column_count = column_count(lines[0]);
            window.set_text(Control::Label_number_of_columns,
                            "Number of columns=" + std::to_string(series.Column_count));
            window.set_text(Control::Edit_N, remove_all(init_line(session, 4), "N="));
        }
        session.trigger(Control::Button_column_show);                      // 10
    }
    window.set_enabled(Control::Open_file_button, true);                   // 11
}

void Button_column_showClick(Session& session)
{
    Series_input& series = session.state.series;
    Window& window = session.window;

    // Before any opening there is no line list: it counts as no lines.
    std::int32_t n = read_integer(window.text(Control::Edit_N));           // 1
    const std::int32_t lines_now = line_count(series);
    if (n > lines_now) n = lines_now;                                      // 2
    if (n > Max_N) n = Max_N;                                              // 3
    if (n < 5) n = 5;
    series.N = n;
    window.set_text(Control::Edit_N, std::to_string(series.N));            // 4
    window.set_text(Control::Label2_N, "N=" + std::to_string(series.N));
    window.pump();

    if (series.Preview_count < 5) return;                                  // 5

    window.set_enabled(Control::Button_column_show, false);                // 6
    window.set_lines(Control::Memo_xn, {});
    std::vector<std::string> preview;

    series.Column_index = read_integer(window.text(Control::Edit_column)); // 7
    if (series.Column_index > series.Column_count) {                       // 8
        series.Column_index = series.Column_count;
        window.set_text(Control::Edit_column, std::to_string(series.Column_index));
    }
    if (series.Column_index < 1) {                                         // 9
        series.Column_index = 1;
        window.set_text(Control::Edit_column, "1");
    }
    window.pump();                                                         // 10

    // The fields are read afresh after the pump: a handler run inside it
    // may have changed them (a nested extraction or opening).
    const std::int32_t lines_after = line_count(series);                   // 11
    std::int32_t rows = series.N < lines_after ? series.N : lines_after;
    if (rows > Max_N) rows = Max_N;
    for (int k = 1; k <= Max_N; ++k) series.xn[k] = 0.0;                   // 12
    const std::int32_t column = series.Column_index;
    for (std::int32_t k = 1; k <= rows; ++k) {                             // 13
        const std::string& line = (*series.Data_lines)[static_cast<std::size_t>(k - 1)];
        series.xn[k] = parse_number(field_text(line, column));
        if (k <= 30)
            preview.push_back(std::to_string(k) + '\t' +
                              format_general(series.xn[k], session.decimal_separator));
    }
    window.set_lines(Control::Memo_xn, preview);                           // 14
    preview.clear();
    window.set_enabled(Control::Button_column_show, true);                 // 15
}

void install_series_handlers(Session& session)
{
    session.on(Control::Open_file_button, [&session] { Open_file_buttonClick(session); });
    session.on(Control::Button_column_show, [&session] { Button_column_showClick(session); });
}

}  // namespace vantel

#include "model/series_actions.h"

#include <string>
#include <vector>

#include "base/number_format.h"
#include "base/strings.h"
#include "model/messages.h"
#include "series/column_extraction.h"
#include "series/data_file.h"
#include "series/text_readers.h"

namespace vantel {

namespace {

std::int32_t line_count(const Series_input& series)
{
    return series.Data_lines ? static_cast<std::int32_t>(series.Data_lines->size()) : 0;
}

}  // namespace

std::string file_label(const std::string& path, const Data_text& text)
{
    std::string label = file_name_part(path);
    if (text.kind == Text_kind::utf16) return label + " (UTF-16 text: save it as UTF-8 or ASCII)";
    if (text.kind == Text_kind::not_text) return label + " (not a text file)";
    if (text.nul_line != 0)
        label += " (NUL byte at line " + std::to_string(text.nul_line) + ": the lines after it are not read)";
    return label;
}

void Open_file_buttonClick(Session& session)
{
    Series_input& series = session.state.series;
    Window& window = session.window;

    series.Preview_count = 0;
    window.set_enabled(Control::Open_file_button, false);
    const auto path = window.choose_file("Open TXT file", "Data(*.txt)|*.txt");
    if (path) {
        window.set_lines(Control::Memo_user_data, {});
        series.Data_lines.emplace();  // the old lines go first
        Data_text text = read_data_text(*path);  // an error ends the opening here
        series.Data_lines = std::move(text.lines);
        const std::vector<std::string>& lines = *series.Data_lines;
        const auto count = static_cast<std::int32_t>(lines.size());

        window.set_text(Control::Label_file_name, "file name=" + *path);
        series.File_name = file_name_part(*path);
        window.set_text(Control::Label11, file_label(*path, text));
        window.set_text(Control::Label_total_lines, "Total lines=" + std::to_string(count));

        series.Preview_count = count > 10 ? 10 : count;
        if (series.Preview_count < 3) {
            window.message(File_is_not_correct);
        } else {
            for (std::int32_t i = 0; i < series.Preview_count; ++i)
                window.add_line(Control::Memo_user_data, lines[static_cast<std::size_t>(i)]);
            series.Column_count = column_count(lines[0]);
            window.set_text(Control::Label_number_of_columns,
                            "Number of columns=" + std::to_string(series.Column_count));
            window.set_text(Control::Edit_N, remove_every(init_line(session, 4), "N="));
        }
        session.trigger(Control::Button_column_show);
    }
    window.set_enabled(Control::Open_file_button, true);
}

void Button_column_showClick(Session& session)
{
    Series_input& series = session.state.series;
    Window& window = session.window;

    // Before any opening there is no line list: it counts as no lines.
    series.N = corrected_n(read_integer(window.text(Control::Edit_N)), line_count(series));
    window.set_text(Control::Edit_N, std::to_string(series.N));
    window.set_text(Control::Label2_N, "N=" + std::to_string(series.N));
    window.pump();

    if (series.Preview_count < 5) return;

    window.set_enabled(Control::Button_column_show, false);
    window.set_lines(Control::Memo_xn, {});
    std::vector<std::string> preview;

    // The column's text is written back only when it had to be corrected.
    const std::int32_t typed = read_integer(window.text(Control::Edit_column));
    series.Column_index = corrected_column(typed, series.Column_count);
    if (series.Column_index != typed) window.set_text(Control::Edit_column, std::to_string(series.Column_index));
    window.pump();

    // The fields are read afresh after the pump: a handler run inside it
    // may have changed them (a nested extraction or opening).
    const std::int32_t lines_after = line_count(series);
    std::int32_t rows = series.N < lines_after ? series.N : lines_after;
    if (rows > Max_N) rows = Max_N;
    for (int k = 1; k <= Max_N; ++k) series.xn[k] = 0.0;
    const std::int32_t column = series.Column_index;
    for (std::int32_t k = 1; k <= rows; ++k) {
        const std::string& line = (*series.Data_lines)[static_cast<std::size_t>(k - 1)];
        series.xn[k] = column_value(line, column);
        if (k <= 30)
            preview.push_back(std::to_string(k) + '\t' +
                              format_general(series.xn[k], session.decimal_separator));
    }
    window.set_lines(Control::Memo_xn, preview);
    preview.clear();
    window.set_enabled(Control::Button_column_show, true);
}

void install_series_handlers(Session& session)
{
    session.on(Control::Open_file_button, [&session] { Open_file_buttonClick(session); });
    session.on(Control::Button_column_show, [&session] { Button_column_showClick(session); });
}

}  // namespace vantel

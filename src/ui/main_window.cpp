#include "ui/main_window.h"

namespace vantel {
Main_window::Main_window() {}
void Main_window::attach(Session& session) { session_ = &session; }
std::string Main_window::text(Control) const { return {}; }
void Main_window::set_text(Control, std::string_view) {}
std::vector<std::string> Main_window::lines(Control) const { return {}; }
void Main_window::set_lines(Control, const std::vector<std::string>&) {}
void Main_window::add_line(Control, std::string_view) {}
bool Main_window::enabled(Control) const { return true; }
void Main_window::set_enabled(Control, bool) {}
int Main_window::selected_method() const { return 5; }
void Main_window::select_method(int) {}
int Main_window::progress() const { return 0; }
void Main_window::set_progress(int) {}
void Main_window::set_font_color(Control, std::uint32_t) {}
bool Main_window::timer_enabled() const { return false; }
void Main_window::set_timer_enabled(bool) {}
void Main_window::pump() {}
void Main_window::sleep_ms(int) {}
void Main_window::message(std::string_view) {}
void Main_window::show_error(std::string_view) {}
std::optional<std::string> Main_window::choose_file(std::string_view, std::string_view) { return {}; }
void Main_window::copy_to_clipboard(Control) {}
void Main_window::close() { QWidget::close(); }
}  // namespace vantel

#include "fake_window.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "engine/core/initial_texts.h"

namespace vantel::test {

bool is_memo(Control control)
{
    switch (control) {
    case Control::Memo_xn:
    case Control::Memo_user_data:
    case Control::Memo_Result:
    case Control::Memo1:
    case Control::Memo2:
    case Control::Memo3:
    case Control::Memo4:
    case Control::Memo5:
    case Control::Memo6:
        return true;
    default:
        return false;
    }
}

Fake_window::Fake_window()
{
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        const std::string initial(initial_text(control));
        if (is_memo(control)) {
            if (!initial.empty()) memo_lines_[control] = {initial};
        } else {
            texts_[control] = initial;
        }
    }
}

std::string Fake_window::text(Control control) const
{
    if (is_memo(control)) {
        std::string joined;
        const auto all = lines(control);
        for (std::size_t i = 0; i < all.size(); ++i) joined += (i ? "\r\n" : "") + all[i];
        return joined;
    }
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::string() : found->second;
}

void Fake_window::set_text(Control control, std::string_view text)
{
    if (!is_memo(control)) {
        texts_[control] = std::string(text);
        return;
    }
    // A memo's text splits into lines at CR LF, CR or LF.
    std::vector<std::string> split;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            split.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) split.push_back(current);
    memo_lines_[control] = split;
}

std::vector<std::string> Fake_window::lines(Control control) const
{
    const auto found = memo_lines_.find(control);
    return found == memo_lines_.end() ? std::vector<std::string>() : found->second;
}

void Fake_window::set_lines(Control control, const std::vector<std::string>& lines)
{
    memo_lines_[control] = lines;
}

void Fake_window::add_line(Control control, std::string_view line)
{
    memo_lines_[control].emplace_back(line);
}

bool Fake_window::enabled(Control control) const
{
    const auto found = disabled_.find(control);
    return found == disabled_.end() || !found->second;
}

void Fake_window::set_enabled(Control control, bool enabled)
{
    disabled_[control] = !enabled;
}

void Fake_window::set_progress(int position)
{
    progress_ = position;
    progress_history.push_back(position);
}

void Fake_window::pump()
{
    ++pumps;
    const auto found = pump_actions_.find(pumps);
    if (found != pump_actions_.end()) {
        auto action = std::move(found->second);
        pump_actions_.erase(found);
        action();
    }
    if (every_pump) every_pump();
}

void Fake_window::message(std::string_view text)
{
    messages.emplace_back(text);
    if (any_message_ok_) return;
    const auto expected = std::find(expected_messages_.begin(), expected_messages_.end(), text);
    if (expected == expected_messages_.end())
        ADD_FAILURE() << "unexpected message box: " << text;
    else
        expected_messages_.erase(expected);
}

std::optional<std::string> Fake_window::choose_file(std::string_view title, std::string_view filter)
{
    dialog_titles.emplace_back(title);
    dialog_filters.emplace_back(filter);
    if (dialog_answers_.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << title;
        return std::nullopt;
    }
    auto answer = std::move(dialog_answers_.front());
    dialog_answers_.pop_front();
    return answer;
}

void Fake_window::on_pump(int index, std::function<void()> action)
{
    pump_actions_[index] = std::move(action);
}

}  // namespace vantel::test

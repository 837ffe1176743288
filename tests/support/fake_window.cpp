#include "fake_window.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace vantel::test {

void Fake_window::set_progress(int position)
{
    Memory_window::set_progress(position);
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
    Memory_window::message(text);
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

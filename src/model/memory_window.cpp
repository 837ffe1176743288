#include "model/memory_window.h"

#include "base/text_file.h"
#include "model/initial_texts.h"

namespace vantel {

bool is_memo(Control control)
{
    switch (control) {
    case Control::Memo_xn:
    case Control::Memo_user_data:
    case Control::Memo_Result:
    case Control::Memo1:
    case Control::Memo2:
    case Init_memo:
    case Batch_lines_memo:
    case Data_listing_memo:
    case Placeholder_memo:
        return true;
    default:
        return false;
    }
}

Memory_window::Memory_window()
{
    for (int i = 0; i < Control_count; ++i) {
        const auto control = static_cast<Control>(i);
        const std::string initial(initial_text(control));
        if (!is_memo(control))
            texts_[control] = initial;
        else if (!initial.empty())
            memo_lines_[control] = {initial};
    }
}

std::string Memory_window::text(Control control) const
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

void Memory_window::set_text(Control control, std::string_view text)
{
    if (is_memo(control))
        memo_lines_[control] = split_lines(text);
    else
        texts_[control] = std::string(text);
}

std::vector<std::string> Memory_window::lines(Control control) const
{
    const auto found = memo_lines_.find(control);
    return found == memo_lines_.end() ? std::vector<std::string>() : found->second;
}

void Memory_window::set_lines(Control control, const std::vector<std::string>& lines)
{
    memo_lines_[control] = lines;
}

void Memory_window::add_line(Control control, std::string_view line)
{
    memo_lines_[control].emplace_back(line);
}

bool Memory_window::enabled(Control control) const
{
    const auto found = disabled_.find(control);
    return found == disabled_.end() || !found->second;
}

void Memory_window::set_enabled(Control control, bool enabled)
{
    disabled_[control] = !enabled;
}

std::optional<std::string> Memory_window::choose_file(std::string_view, std::string_view)
{
    if (dialog_answers_.empty()) return std::nullopt;
    auto answer = std::move(dialog_answers_.front());
    dialog_answers_.pop_front();
    return answer;
}

}  // namespace vantel

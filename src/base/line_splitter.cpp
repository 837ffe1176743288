#include "base/line_splitter.h"

#include "base/error.h"

namespace vantel {

namespace {

constexpr std::string_view Utf8_byte_order_mark = "\xEF\xBB\xBF";

}  // namespace

Line_splitter::Line_splitter(const Line_options& options)
    : max_lines_(options.max_lines),
      max_line_bytes_(options.max_line_bytes),
      nul_ends_text_(options.nul_ends_text),
      refuse_(options.refuse),
      name_(options.name),
      mark_done_(!options.skip_byte_order_mark)
{
}

void Line_splitter::refuse(Line_limit which, std::size_t number) const
{
    if (refuse_) refuse_(which, name_, number);
    throw Vantel_error(name_ + (which == Line_limit::lines ? ": too many lines" : ": line " + std::to_string(number) +
                                                                                      " is too long"));
}

bool Line_splitter::feed(std::string_view piece)
{
    const char* p = piece.data();
    const char* const end = p + piece.size();
    skip_byte_order_mark(p, end);
    while (p < end) {
        if (after_cr_ && *p == '\n') {  // the LF of a CR LF pair
            after_cr_ = false;
            ++p;
            continue;
        }
        after_cr_ = false;
        const char* stop = p;
        while (stop < end && *stop != '\r' && *stop != '\n' && (*stop != '\0' || !nul_ends_text_)) ++stop;
        const auto length = static_cast<std::size_t>(stop - p);
        if (length > max_line_bytes_ - current_.size()) refuse(Line_limit::line_bytes, lines_.size() + 1);
        if (stop == end) {  // the line goes on in the next piece
            current_.append(p, length);
            return true;
        }
        if (*stop == '\0') {
            current_.append(p, length);
            nul_line_ = lines_.size() + 1;
            return false;
        }
        after_cr_ = *stop == '\r';
        end_line(std::string_view(p, length));
        p = stop + 1;
    }
    return true;
}

std::vector<std::string> Line_splitter::finish()
{
    // A text of a mark's first byte or two holds them as its line.
    if (!mark_done_) current_.append(Utf8_byte_order_mark.substr(0, mark_bytes_seen_));
    // A last line without a break counts; a final break adds nothing.
    if (!current_.empty()) end_line({});
    return std::move(lines_);
}

// Passes over a UTF-8 byte-order mark at the start of the text, which may
// come a byte at a time: while the pieces end inside what may still be one,
// its bytes are held back. Bytes that began like a mark but were not one are
// given back to the first line.
void Line_splitter::skip_byte_order_mark(const char*& p, const char* end)
{
    if (mark_done_) return;
    while (p < end && mark_bytes_seen_ < Utf8_byte_order_mark.size() && *p == Utf8_byte_order_mark[mark_bytes_seen_]) {
        ++mark_bytes_seen_;
        ++p;
    }
    if (mark_bytes_seen_ == Utf8_byte_order_mark.size()) {
        mark_done_ = true;
    } else if (p < end) {
        current_.append(Utf8_byte_order_mark.substr(0, mark_bytes_seen_));
        mark_done_ = true;
    }
}

// Ends the line begun in earlier pieces (if any) with `rest`. A line read in
// one piece is stored at its exact size; one that grew across pieces gives
// back what its growth reserved, up to as much as the line itself.
void Line_splitter::end_line(std::string_view rest)
{
    if (lines_.size() >= max_lines_) refuse(Line_limit::lines, max_lines_);
    if (current_.empty()) {
        lines_.emplace_back(rest);
        return;
    }
    current_.append(rest);
    current_.shrink_to_fit();
    lines_.push_back(std::move(current_));
    current_ = std::string();
}

}  // namespace vantel

#include "cli/json_reader.h"

#include <cstdint>

namespace vantel::cli {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<Json_value> whole()
    {
        auto value = parse(0);
        skip_blanks();
        if (!value || at_ != text_.size()) return std::nullopt;
        return value;
    }

private:
    static constexpr int Max_depth = 64;

    void skip_blanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' ||
                                      text_[at_] == '\r'))
            ++at_;
    }

    bool take(char c)
    {
        skip_blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool take_word(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    static void append_utf8(std::string& out, std::uint32_t code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::optional<std::string> string()
    {
        if (!take('"')) return std::nullopt;
        std::string out;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) return std::nullopt;
            const char e = text_[at_++];
            switch (e) {
            case '"': case '\\': case '/': out += e; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                if (at_ + 4 > text_.size()) return std::nullopt;
                std::uint32_t code = 0;
                for (int i = 0; i < 4; ++i) {
                    const char h = text_[at_++];
                    code <<= 4;
                    if (h >= '0' && h <= '9') code |= static_cast<std::uint32_t>(h - '0');
                    else if (h >= 'a' && h <= 'f') code |= static_cast<std::uint32_t>(h - 'a' + 10);
                    else if (h >= 'A' && h <= 'F') code |= static_cast<std::uint32_t>(h - 'A' + 10);
                    else return std::nullopt;
                }
                append_utf8(out, code);
                break;
            }
            default: return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::optional<Json_value> parse(int depth)
    {
        if (depth > Max_depth) return std::nullopt;
        skip_blanks();
        if (at_ >= text_.size()) return std::nullopt;
        Json_value value;
        const char c = text_[at_];
        if (c == '{') {
            ++at_;
            value.kind = Json_value::Kind::object;
            if (take('}')) return value;
            do {
                auto name = string();
                if (!name || !take(':')) return std::nullopt;
                auto member = parse(depth + 1);
                if (!member) return std::nullopt;
                value.members.emplace_back(std::move(*name), std::move(*member));
            } while (take(','));
            if (!take('}')) return std::nullopt;
        } else if (c == '[') {
            ++at_;
            value.kind = Json_value::Kind::array;
            if (take(']')) return value;
            do {
                auto item = parse(depth + 1);
                if (!item) return std::nullopt;
                value.items.push_back(std::move(*item));
            } while (take(','));
            if (!take(']')) return std::nullopt;
        } else if (c == '"') {
            auto text = string();
            if (!text) return std::nullopt;
            value.kind = Json_value::Kind::string;
            value.text = std::move(*text);
        } else if (take_word("null")) {
            value.kind = Json_value::Kind::null;
        } else if (take_word("true") || take_word("false")) {
            value.kind = Json_value::Kind::boolean;
            value.text = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u' ? "true" : "false";
        } else {
            const std::size_t from = at_;
            while (at_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos)
                ++at_;
            if (at_ == from) return std::nullopt;
            value.kind = Json_value::Kind::number;
            value.text = std::string(text_.substr(from, at_ - from));
        }
        return value;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

const Json_value* Json_value::member(std::string_view name) const
{
    for (const auto& [key, value] : members)
        if (key == name) return &value;
    return nullptr;
}

std::optional<Json_value> read_json(std::string_view text)
{
    return Parser(text).whole();
}

}  // namespace vantel::cli

// Running the built vantel command as a user does, and reading what it
// writes: its output streams, CSV records and JSON documents.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <sys/wait.h>

#include "support/test_program.h"

namespace vantel::test {

struct Command_result {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string read_file(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Runs `vantel arguments` through the shell; standard error goes to a file
// of `dir` so that the two streams stay apart.
inline Command_result run_vantel(const std::string& arguments, const Temp_dir& dir)
{
    const std::string err_file = (dir.path() / "stderr.txt").string();
    const std::string command = built_app_dir() + "vantel " + arguments + " 2>" + err_file;
    Command_result result;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) result.out += buffer.data();
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = read_file(err_file);
    return result;
}

// A path as one shell word.
inline std::string shell_word(const std::string& path)
{
    std::string word = "'";
    for (const char c : path) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

// `rows` lines of `columns` tab-separated columns of a noisy series.
inline std::string series_rows(int rows, int columns)
{
    std::string text;
    for (int k = 1; k <= rows; ++k)
        for (int c = 1; c <= columns; ++c)
            text += std::to_string((k * (c + 3) * 37) % 101 - 50) + "." + std::to_string(k % 10) +
                    (c < columns ? "\t" : "\r\n");
    return text;
}

inline int line_count(const std::string& text)
{
    int lines = 0;
    for (const char c : text) lines += c == '\n';
    return lines;
}

// CSV lines split into fields; quoted fields may hold commas and quotes.
inline std::vector<std::vector<std::string>> parse_csv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool in_quotes = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (in_quotes) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                in_quotes = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            in_quotes = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n') {
            row.push_back(field);
            field.clear();
            rows.push_back(row);
            row.clear();
        } else {
            field += c;
        }
    }
    EXPECT_FALSE(in_quotes) << "an unclosed quote";
    EXPECT_TRUE(field.empty() && row.empty()) << "the last line has no line break";
    return rows;
}

// A JSON value; objects keep their keys in order of appearance.
struct Json {
    enum class Kind { null, boolean, number, string, array, object } kind = Kind::null;
    std::string text;  // a string's contents, or a number's or boolean's spelling
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json& operator[](const std::string& key) const
    {
        for (const auto& [name, value] : members)
            if (name == key) return value;
        static const Json missing;
        ADD_FAILURE() << "no member " << key;
        return missing;
    }
};

// A strict reader of one JSON document (RFC 8259); nothing on any error.
class Json_reader {
public:
    static std::optional<Json> read(const std::string& text)
    {
        Json_reader reader(text);
        Json value;
        if (!reader.value(value)) return std::nullopt;
        reader.blanks();
        if (reader.at_ != text.size()) return std::nullopt;
        return value;
    }

private:
    explicit Json_reader(const std::string& text) : text_(text) {}

    void blanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t'))
            ++at_;
    }
    bool take(char c)
    {
        blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool word(const char* spelling, Json::Kind kind, Json& out)
    {
        const std::string w(spelling);
        if (text_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        out.kind = kind;
        out.text = w;
        return true;
    }
    bool string(std::string& out)
    {
        if (!take('"')) return false;
        for (; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (++at_ >= text_.size()) return false;
            const char e = text_[at_];
            const std::string simple = "\"\\/bfnrt";
            const std::string meant = "\"\\/\b\f\n\r\t";
            if (const auto k = simple.find(e); k != std::string::npos) {
                out += meant[k];
            } else if (e == 'u' && at_ + 4 < text_.size()) {
                const unsigned code = std::stoul(text_.substr(at_ + 1, 4), nullptr, 16);
                if (code >= 0x80) return false;  // enough for what vantel writes
                out += static_cast<char>(code);
                at_ += 4;
            } else {
                return false;
            }
        }
        return false;
    }
    bool number(Json& out)
    {
        const std::size_t from = at_;
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        const std::size_t digits = at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
        if (at_ == digits || (text_[digits] == '0' && at_ - digits > 1)) return false;
        if (at_ < text_.size() && text_[at_] == '.') {
            const std::size_t fraction = ++at_;
            while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_]))) ++at_;
            if (at_ == fraction) return false;
        }
        out.kind = Json::Kind::number;
        out.text = text_.substr(from, at_ - from);
        return true;
    }
    bool value(Json& out)
    {
        blanks();
        if (at_ >= text_.size()) return false;
        const char c = text_[at_];
        if (c == '"') {
            out.kind = Json::Kind::string;
            return string(out.text);
        }
        if (c == '[') {
            ++at_;
            out.kind = Json::Kind::array;
            if (take(']')) return true;
            do {
                out.items.emplace_back();
                if (!value(out.items.back())) return false;
            } while (take(','));
            return take(']');
        }
        if (c == '{') {
            ++at_;
            out.kind = Json::Kind::object;
            if (take('}')) return true;
            do {
                std::string key;
                if (!string(key) || !take(':')) return false;
                out.members.emplace_back(key, Json{});
                if (!value(out.members.back().second)) return false;
            } while (take(','));
            return take('}');
        }
        return word("null", Json::Kind::null, out) || word("true", Json::Kind::boolean, out) ||
               word("false", Json::Kind::boolean, out) || number(out);
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

}  // namespace vantel::test

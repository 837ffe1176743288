// is_number_text: the number parser's form, scanned without reading a value.
#include "series/series_reader.h"

namespace vantel {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_digits(std::string_view text, std::size_t i)
{
    while (i < text.size() && is_digit(text[i])) ++i;
    return i;
}

}  // namespace

bool is_number_text(std::string_view field)
{
    const std::size_t n = field.size();
    std::size_t i = 0;
    while (i < n && field[i] == ' ') ++i;
    if (i < n && (field[i] == '+' || field[i] == '-')) ++i;
    std::size_t digits_end = skip_digits(field, i);
    std::size_t mantissa_digits = digits_end - i;
    i = digits_end;
    if (i < n && (field[i] == '.' || field[i] == ',')) {
        digits_end = skip_digits(field, i + 1);
        mantissa_digits += digits_end - (i + 1);
        i = digits_end;
    }
    // Without a digit the parser may still accept the text (a lone
    // separator), but it then stands for no number.
    if (mantissa_digits == 0) return false;
    if (i < n && (field[i] == 'e' || field[i] == 'E')) {
        ++i;
        if (i < n && (field[i] == '+' || field[i] == '-')) ++i;
        digits_end = skip_digits(field, i);
        if (digits_end == i) return false;
        i = digits_end;
    }
    while (i < n && field[i] == ' ') ++i;
    return i == n;
}

}  // namespace vantel

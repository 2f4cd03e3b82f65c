// Checks the dialog field readers against their plain definitions: the first
// byte is the length limit, the rest the field's text. The integer is the
// leading decimal integer clamped to 32 bits; the real is strtod on the
// longest leading decimal prefix (no hexadecimal, no words): correctly
// rounded, subnormals included; an infinity beyond the range, 0 below it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/field_reading.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Where the leading blanks and an optional sign end.
std::size_t number_start(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    return i;
}

std::int64_t plain_integer(std::string_view text) {
    std::size_t i = number_start(text);
    const bool negative = i > 0 && text[i - 1] == '-';
    std::int64_t magnitude = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > (std::int64_t{1} << 40)) magnitude = std::int64_t{1} << 40;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX);
}

double plain_real(std::string_view text) {
    std::size_t end = number_start(text);
    std::size_t digits = 0;
    for (; end < text.size() && is_digit(text[end]); ++end) ++digits;
    if (end < text.size() && text[end] == '.') {
        for (++end; end < text.size() && is_digit(text[end]); ++end) ++digits;
    }
    if (digits == 0) return 0.0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t i = end + 1;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i < text.size() && is_digit(text[i])) {
            while (i < text.size() && is_digit(text[i])) ++i;
            end = i;
        }
    }
    const std::string prefix(text.substr(0, end));
    return std::strtod(prefix.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t limit = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Texts with NUL bytes are fine: the readers take views, not C strings.
    const std::string_view field = veltra::ui::leading_chars(text, limit);
    if (field != text.substr(0, std::min(limit, text.size()))) std::abort();
    if (veltra::ui::leading_integer(field) != plain_integer(field)) std::abort();
    const double real = veltra::ui::leading_real(field);
    const double expected = plain_real(field);
    if (real != expected || std::signbit(real) != std::signbit(expected)) std::abort();
    return 0;
}

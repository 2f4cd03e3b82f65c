#include "ui/field_reading.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <system_error>

namespace veltra::ui {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Skips leading blanks and an optional sign; true when the sign was "-".
bool skip_blanks_and_sign(std::string_view& text) {
    std::size_t i = 0;
    while (i < text.size() && is_blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    text.remove_prefix(i);
    return negative;
}

// The position after the digits that start at `i`.
std::size_t skip_digits(std::string_view text, std::size_t i) {
    while (i < text.size() && is_digit(text[i])) ++i;
    return i;
}

}  // namespace

std::string_view leading_chars(std::string_view text, std::size_t limit) { return text.substr(0, limit); }

std::int32_t leading_integer(std::string_view text) {
    const bool negative = skip_blanks_and_sign(text);
    // Accumulated as a non-positive number, so that the lowest value fits.
    constexpr std::int64_t LOWEST = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && is_digit(text[i]); ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < LOWEST) value = LOWEST;
    }
    if (negative) return static_cast<std::int32_t>(value);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(-value, std::numeric_limits<std::int32_t>::max()));
}

double leading_real(std::string_view text) {
    const bool negative = skip_blanks_and_sign(text);
    const std::size_t integer_end = skip_digits(text, 0);
    std::size_t end = integer_end;
    std::size_t fraction_end = integer_end;
    if (end < text.size() && text[end] == '.') fraction_end = skip_digits(text, end + 1);
    const std::size_t mantissa_digits =
        integer_end + (fraction_end > integer_end ? fraction_end - integer_end - 1 : 0);
    if (mantissa_digits == 0) return 0.0;
    end = fraction_end;

    // The exponent, saturated far beyond any double, for telling an overflow
    // from an underflow below.
    std::int64_t exponent = 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t i = end + 1;
        bool exponent_negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) exponent_negative = text[i++] == '-';
        const std::size_t digits_end = skip_digits(text, i);
        if (digits_end > i) {
            for (; i < digits_end; ++i)
                exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000);
            if (exponent_negative) exponent = -exponent;
            end = digits_end;
        }
    }

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + end, value);
    if (ec == std::errc::result_out_of_range) {
        // The mantissa is not zero here (zero is never out of range). Its
        // magnitude is 10^(exponent + position of its first nonzero digit);
        // at or above 1 it overflowed, below 1 it underflowed.
        std::int64_t position = 0;
        std::size_t first = 0;
        while (first < integer_end && text[first] == '0') ++first;
        if (first < integer_end) {
            position = static_cast<std::int64_t>(integer_end - first);
        } else {
            std::size_t i = integer_end + 1;
            while (i < fraction_end && text[i] == '0') ++i;
            position = -static_cast<std::int64_t>(i - integer_end - 1);
        }
        value = exponent + position > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::int32_t read_integer_field(DialogHost& host, int id, std::size_t limit) {
    return leading_integer(leading_chars(host.item_text(id), limit));
}

double read_real_field(DialogHost& host, int id, std::size_t limit) {
    return leading_real(leading_chars(host.item_text(id), limit));
}

void write_integer_field(DialogHost& host, int id, std::int64_t value) {
    host.set_item_text(id, std::to_string(value));
}

std::int32_t step_integer_field(DialogHost& host, int id, std::size_t limit, int direction, std::int32_t low,
                                std::int32_t high) {
    const std::int32_t value = read_integer_field(host, id, limit);
    if (direction < 0 && value > low) {
        write_integer_field(host, id, value - 1);
        return value - 1;
    }
    if (direction > 0 && value < high) {
        write_integer_field(host, id, value + 1);
        return value + 1;
    }
    return value;
}

std::string format_real(const char* format, double value) {
    const int length = std::snprintf(nullptr, 0, format, value);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace veltra::ui

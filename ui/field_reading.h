#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/host.h"

namespace veltra::ui {

// The first `limit` characters of a field's text (all of it when shorter).
std::string_view leading_chars(std::string_view text, std::size_t limit);

// The leading decimal integer: leading blanks, an optional sign, then digits
// up to the first other character; 0 when there are none. A number beyond the
// 32-bit range saturates at its end, so it is simply out of any valid range.
std::int32_t leading_integer(std::string_view text);

// The leading decimal real: leading blanks, an optional sign, digits with an
// optional point (at least one digit), an optional exponent; 0 when there is
// no number. Words such as "inf" or "nan" are no number. A magnitude beyond
// the double range gives an infinity of its sign; one below it gives 0.
double leading_real(std::string_view text);

// Field `id` read as at most `limit` characters and converted as above.
std::int32_t read_integer_field(DialogHost& host, int id, std::size_t limit);
double read_real_field(DialogHost& host, int id, std::size_t limit);

// Writes a number back into a field in plain decimal.
void write_integer_field(DialogHost& host, int id, std::int64_t value);

// The "<" (direction -1) and ">" (direction +1) buttons beside a number field:
// reads the field; "<" writes value - 1 when value > low, ">" writes value + 1
// when value < high, otherwise the field stays as it is. Returns the field's
// value afterwards.
std::int32_t step_integer_field(DialogHost& host, int id, std::size_t limit, int direction, std::int32_t low,
                                std::int32_t high);

// One real value in a printf format with a single double conversion, such as
// "%15.2f".
std::string format_real(const char* format, double value);

}  // namespace veltra::ui

#pragma once

#include <string_view>

#include "ui/host.h"

namespace veltra::ui {

// A value out of range: the exclamation beep, then `text` with the caption
// "Invalid Input" and the exclamation icon.
void invalid_input(MessageHost& host, std::string_view text);

// A warning with its own caption: the exclamation beep, then the box with the
// exclamation icon.
void warning_box(MessageHost& host, std::string_view text, std::string_view caption);

// An error: the error beep, then the box with the error icon.
void error_box(MessageHost& host, std::string_view text, std::string_view caption);

// The error box for storage that cannot be had.
void out_of_memory_box(MessageHost& host);

// A success: the box with the information icon, no beep.
void information_box(MessageHost& host, std::string_view text, std::string_view caption);

}  // namespace veltra::ui

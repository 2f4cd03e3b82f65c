#include "ui/messages.h"

namespace veltra::ui {

void invalid_input(MessageHost& host, std::string_view text) { warning_box(host, text, "Invalid Input"); }

void warning_box(MessageHost& host, std::string_view text, std::string_view caption) {
    host.beep(Sound::exclamation);
    host.message_box(text, caption, Icon::exclamation);
}

void error_box(MessageHost& host, std::string_view text, std::string_view caption) {
    host.beep(Sound::error);
    host.message_box(text, caption, Icon::error);
}

void out_of_memory_box(MessageHost& host) {
    error_box(host, "Can not allocate memory! Close other applications.", "Not Enough Memory");
}

void information_box(MessageHost& host, std::string_view text, std::string_view caption) {
    host.message_box(text, caption, Icon::information);
}

}  // namespace veltra::ui

#include "io/table_scanner.h"

#include <algorithm>
#include <cstring>

namespace veltra::io {

std::string_view without_byte_order_mark(std::string_view text) noexcept {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

TableScanner::TableScanner(std::string_view text, char delimiter) noexcept
    : p_(text.data()), end_(text.data() + text.size()), delimiter_(delimiter) {
    stops_[static_cast<unsigned char>('\n')] = true;
    stops_[static_cast<unsigned char>(delimiter)] = true;
    if (delimiter == ' ') stops_[static_cast<unsigned char>('\t')] = true;
}

void TableScanner::skip_blanks() noexcept {
    while (p_ != end_ && is_blank(*p_)) ++p_;
}

// False at the end of the text.
bool TableScanner::skip_blank_lines() noexcept {
    for (;;) {
        const char* q = p_;
        while (q != end_ && (*q == ' ' || *q == '\t' || *q == '\r')) ++q;
        if (q == end_) {
            p_ = q;
            return false;
        }
        if (*q != '\n') return true;
        p_ = q + 1;
        ++line_;
    }
}

ScanStatus TableScanner::next(std::vector<TableField>& fields) {
    fields.clear();
    unescaped_.clear();
    if (!skip_blank_lines()) return ScanStatus::end;
    record_line_ = line_;
    for (;;) {
        if (delimiter_ == ' ') {
            while (p_ != end_ && (*p_ == ' ' || *p_ == '\t')) ++p_;
        } else {
            skip_blanks();
        }
        if (p_ != end_ && *p_ == '"') {
            const ScanStatus status = quoted_field(fields);
            if (status != ScanStatus::record) return status;
        } else {
            unquoted_field(fields);
        }
        if (delimiter_ == ' ') {
            while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\r')) ++p_;
            if (p_ == end_) return ScanStatus::record;
            if (*p_ == '\n') break;
            continue;
        }
        if (p_ == end_) return ScanStatus::record;
        if (*p_ == '\n') break;
        ++p_;  // the delimiter
    }
    ++p_;
    ++line_;
    return ScanStatus::record;
}

ScanStatus TableScanner::quoted_field(std::vector<TableField>& fields) {
    const std::int64_t line = line_;
    const char* const start = ++p_;
    bool doubled = false;
    const char* close;
    for (;;) {
        close = static_cast<const char*>(std::memchr(p_, '"', static_cast<std::size_t>(end_ - p_)));
        if (close == nullptr) {
            error_line_ = line;
            error_column_ = static_cast<std::int64_t>(fields.size()) + 1;
            return ScanStatus::unterminated_quote;
        }
        line_ += std::count(p_, close, '\n');
        p_ = close + 1;
        if (p_ == end_ || *p_ != '"') break;
        doubled = true;
        ++p_;
    }
    std::string_view text(start, static_cast<std::size_t>(close - start));
    if (doubled) {
        std::string& unescaped = unescaped_.emplace_back();
        for (std::size_t i = 0; i < text.size(); ++i) {
            unescaped += text[i];
            if (text[i] == '"') ++i;
        }
        text = unescaped;
    }
    while (p_ != end_ && (is_blank(*p_) || *p_ == '\r')) ++p_;
    // Blanks separate fields when they are the delimiter, so one must follow.
    if (p_ != end_ && *p_ != '\n' && (delimiter_ == ' ' ? p_ == close + 1 : *p_ != delimiter_)) {
        error_line_ = line_;
        error_column_ = static_cast<std::int64_t>(fields.size()) + 1;
        return ScanStatus::text_after_quote;
    }
    fields.push_back({text, line, true});
    return ScanStatus::record;
}

void TableScanner::unquoted_field(std::vector<TableField>& fields) noexcept {
    const char* const start = p_;
    while (p_ != end_ && !stops_[static_cast<unsigned char>(*p_)]) ++p_;
    const char* last = p_;
    while (last != start && (is_blank(last[-1]) || last[-1] == '\r')) --last;
    fields.push_back({std::string_view(start, static_cast<std::size_t>(last - start)), line_, false});
}

}  // namespace veltra::io

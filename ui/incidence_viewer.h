#pragma once

#include <string>
#include <string_view>

#include "core/workspace.h"

namespace veltra::ui {

enum class ScrollBar { vertical, horizontal };

enum class ScrollRequest { line_back, line_forward, page_back, page_forward, thumb, other };

// The keys that scroll the viewer.
enum class ScrollKey { up, down, left, right, page_up, page_down, home, end };

// The incidence matrix viewer's model: the table as text ("%2.2d" cells
// joined by blanks, one line per prototype) and the scroll positions.
class IncidenceViewer {
public:
    IncidenceViewer(const core::IncidenceMatrix& incidence, int nprotos);

    const std::string& text() const noexcept { return text_; }
    int line_count() const noexcept { return nprotos_; }
    // Characters per line including the line feed (3 * nprotos).
    int line_length() const noexcept { return line_length_; }
    // Line p without its line feed.
    std::string_view line(int p) const;

    int first_visible_row() const noexcept { return first_row_; }
    int first_visible_column() const noexcept { return first_column_; }
    // Scroll ranges: rows 0 .. line_count - 1, columns 0 .. line_length - 2.
    int max_row() const noexcept { return nprotos_ - 1; }
    int max_column() const noexcept { return line_length_ - 2; }

    // Moves one scroll position; `thumb` carries the position for
    // ScrollRequest::thumb (clamped to the range).
    void scroll(ScrollBar bar, ScrollRequest request, int thumb = 0);

    // The keyboard, through the same requests as the scroll bars: the arrows
    // move a line or a character, Page Up and Page Down a page of two lines,
    // Home and End go to the first and the last line.
    void scroll_by_key(ScrollKey key);
    // The mouse wheel: `lines` line requests forward (positive) or back.
    void scroll_by_lines(ScrollBar bar, int lines);

    // The visible part of line first_visible_row + i, for i from 0 while
    // i < line_count - first_visible_row.
    std::string_view visible_line(int i) const;

private:
    std::string text_;
    int nprotos_;
    int line_length_;
    int first_row_ = 0;
    int first_column_ = 0;
};

}  // namespace veltra::ui

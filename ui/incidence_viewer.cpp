#include "ui/incidence_viewer.h"

#include <algorithm>
#include <cstdio>

namespace veltra::ui {

namespace {

// The position after one scroll request within 0 .. max (page step 2).
int scrolled(int position, int max, ScrollRequest request, int thumb) {
    switch (request) {
        case ScrollRequest::line_back:
            return position > 0 ? position - 1 : position;
        case ScrollRequest::line_forward:
            return position < max ? position + 1 : position;
        case ScrollRequest::page_back:
            return position > 2 ? position - 2 : 0;
        case ScrollRequest::page_forward:
            return position < max - 2 ? position + 2 : max;
        case ScrollRequest::thumb:
            // The range is what the scroll bar offers; a position outside it
            // would address characters beyond the table.
            return std::clamp(thumb, 0, max);
        case ScrollRequest::other:
            break;
    }
    return position;
}

}  // namespace

IncidenceViewer::IncidenceViewer(const core::IncidenceMatrix& incidence, int nprotos)
    : nprotos_(std::clamp(nprotos, 0, core::MAX_PROTOTYPES)), line_length_(3 * nprotos_) {
    text_.reserve(static_cast<std::size_t>(nprotos_ * line_length_));
    for (int p = 0; p < nprotos_; ++p) {
        for (int q = 0; q < nprotos_; ++q) {
            // Grid distances are 0..35, so every cell is exactly two digits.
            char cell[8];
            std::snprintf(cell, sizeof cell, "%2.2d", static_cast<int>(incidence[p][q]));
            text_ += cell;
            text_ += ' ';
        }
        text_.back() = '\n';
    }
}

std::string_view IncidenceViewer::line(int p) const {
    return std::string_view(text_).substr(static_cast<std::size_t>(p * line_length_),
                                          static_cast<std::size_t>(line_length_ - 1));
}

void IncidenceViewer::scroll(ScrollBar bar, ScrollRequest request, int thumb) {
    if (nprotos_ == 0) return;
    if (bar == ScrollBar::vertical) {
        first_row_ = scrolled(first_row_, max_row(), request, thumb);
    } else {
        first_column_ = scrolled(first_column_, max_column(), request, thumb);
    }
}

void IncidenceViewer::scroll_by_key(ScrollKey key) {
    switch (key) {
        case ScrollKey::up:
            return scroll(ScrollBar::vertical, ScrollRequest::line_back);
        case ScrollKey::down:
            return scroll(ScrollBar::vertical, ScrollRequest::line_forward);
        case ScrollKey::left:
            return scroll(ScrollBar::horizontal, ScrollRequest::line_back);
        case ScrollKey::right:
            return scroll(ScrollBar::horizontal, ScrollRequest::line_forward);
        case ScrollKey::page_up:
            return scroll(ScrollBar::vertical, ScrollRequest::page_back);
        case ScrollKey::page_down:
            return scroll(ScrollBar::vertical, ScrollRequest::page_forward);
        case ScrollKey::home:
            return scroll(ScrollBar::vertical, ScrollRequest::thumb, 0);
        case ScrollKey::end:
            return scroll(ScrollBar::vertical, ScrollRequest::thumb, max_row());
    }
}

void IncidenceViewer::scroll_by_lines(ScrollBar bar, int lines) {
    const ScrollRequest request = lines < 0 ? ScrollRequest::line_back : ScrollRequest::line_forward;
    // More steps than the range holds change nothing more.
    const long long count = lines < 0 ? -static_cast<long long>(lines) : lines;
    const int steps = static_cast<int>(std::min<long long>(count, std::max(max_row(), max_column()) + 1));
    for (int i = 0; i < steps; ++i) scroll(bar, request);
}

std::string_view IncidenceViewer::visible_line(int i) const {
    return line(first_row_ + i).substr(static_cast<std::size_t>(first_column_));
}

}  // namespace veltra::ui

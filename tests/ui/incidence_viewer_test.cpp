#include "ui/incidence_viewer.h"

#include <gtest/gtest.h>

#include "core/map_shape.h"

namespace veltra::ui {
namespace {

IncidenceViewer viewer_of(int rows, int cols) {
    core::IncidenceMatrix incidence{};
    core::build_incidence_matrix(incidence, rows, cols);
    return IncidenceViewer(incidence, rows * cols);
}

TEST(IncidenceViewer, FormatsOneLinePerPrototypeWithItsScrollRanges) {
    const IncidenceViewer two_by_three = viewer_of(2, 3);
    EXPECT_EQ(two_by_three.text(),
              "00 01 02 01 01 02\n01 00 01 01 01 01\n02 01 00 02 01 01\n"
              "01 01 02 00 01 02\n01 01 01 01 00 01\n02 01 01 02 01 00\n");
    EXPECT_EQ(two_by_three.line_count(), 6);
    EXPECT_EQ(two_by_three.line_length(), 18);
    EXPECT_EQ(two_by_three.max_row(), 5);
    EXPECT_EQ(two_by_three.max_column(), 16);
    EXPECT_EQ(two_by_three.line(5), "02 01 01 02 01 00");

    const IncidenceViewer single = viewer_of(1, 1);
    EXPECT_EQ(single.text(), "00\n");
    EXPECT_EQ(single.line_length(), 3);
    EXPECT_EQ(single.max_row(), 0);
    EXPECT_EQ(single.max_column(), 1);

    const IncidenceViewer largest = viewer_of(6, 6);
    EXPECT_EQ(largest.text().size(), 36u * 108u);
    EXPECT_EQ(largest.visible_line(35).size(), 107u);
    EXPECT_EQ(largest.max_column(), 106);
    EXPECT_EQ(largest.line(0).substr(largest.line(0).size() - 2), "05");  // opposite corners
}

TEST(IncidenceViewer, ScrollsByLineAndPageWithinTheRanges) {
    IncidenceViewer viewer = viewer_of(2, 3);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::line_back);
    EXPECT_EQ(viewer.first_visible_row(), 0);
    for (int i = 0; i < 4; ++i) viewer.scroll(ScrollBar::vertical, ScrollRequest::line_forward);
    EXPECT_EQ(viewer.first_visible_row(), 4);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::page_forward);
    EXPECT_EQ(viewer.first_visible_row(), 5);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::line_forward);
    EXPECT_EQ(viewer.first_visible_row(), 5);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::page_back);
    EXPECT_EQ(viewer.first_visible_row(), 3);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::line_back);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::page_back);
    EXPECT_EQ(viewer.first_visible_row(), 0);  // from 2 straight to the top
    viewer.scroll(ScrollBar::vertical, ScrollRequest::page_forward);
    EXPECT_EQ(viewer.first_visible_row(), 2);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::other);
    EXPECT_EQ(viewer.first_visible_row(), 2);
    EXPECT_EQ(viewer.first_visible_column(), 0);  // the other bar never moved

    viewer.scroll(ScrollBar::horizontal, ScrollRequest::page_forward);
    EXPECT_EQ(viewer.first_visible_column(), 2);
    EXPECT_EQ(viewer.visible_line(0), " 01 00 02 01 01");
    viewer.scroll(ScrollBar::horizontal, ScrollRequest::thumb, 14);
    viewer.scroll(ScrollBar::horizontal, ScrollRequest::page_forward);
    EXPECT_EQ(viewer.first_visible_column(), 16);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(viewer.visible_line(i).size(), 1u);
    EXPECT_EQ(viewer.visible_line(0), "1");
    viewer.scroll(ScrollBar::horizontal, ScrollRequest::line_forward);
    EXPECT_EQ(viewer.first_visible_column(), 16);
    viewer.scroll(ScrollBar::horizontal, ScrollRequest::page_back);
    EXPECT_EQ(viewer.first_visible_column(), 14);
    viewer.scroll(ScrollBar::horizontal, ScrollRequest::line_back);
    EXPECT_EQ(viewer.first_visible_column(), 13);
}

TEST(IncidenceViewer, ThumbPositionsOutsideTheRangeAreClamped) {
    IncidenceViewer viewer = viewer_of(2, 3);
    viewer.scroll(ScrollBar::vertical, ScrollRequest::thumb, 99);
    EXPECT_EQ(viewer.first_visible_row(), 5);
    EXPECT_EQ(viewer.visible_line(0), "02 01 01 02 01 00");
    viewer.scroll(ScrollBar::horizontal, ScrollRequest::thumb, -3);
    EXPECT_EQ(viewer.first_visible_column(), 0);
    viewer.scroll(ScrollBar::horizontal, ScrollRequest::thumb, 1000);
    EXPECT_EQ(viewer.first_visible_column(), 16);
    EXPECT_EQ(viewer.visible_line(0), "0");
}

}  // namespace
}  // namespace veltra::ui

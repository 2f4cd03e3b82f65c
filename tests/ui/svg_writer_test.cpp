#include "ui/svg_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace veltra::ui {
namespace {

TEST(SvgWriter, DrawsLinesAndTextsOnWhiteWithEscapedText) {
    const DisplayList list{LineItem{GREEN, 2, 1, 2, 3, 4}, TextItem{"a<b & c>d ", RED, 10, 20}};
    const std::string svg = svg_document(list, 640, 480, MonospaceMeasurer{});
    EXPECT_NE(svg.find("width=\"640\" height=\"480\" viewBox=\"0 0 640 480\""), std::string::npos);
    EXPECT_NE(
        svg.find("<rect x=\"0\" y=\"0\" width=\"640\" height=\"480\" fill=\"#ffffff\" stroke=\"none\"/>"),
        std::string::npos);
    EXPECT_NE(svg.find("<line x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\" stroke=\"#00ff00\" stroke-width=\"2\"/>"),
              std::string::npos);
    // The text's box is 10 characters of 7 pixels by one line, at its top-left corner.
    EXPECT_NE(svg.find("<rect x=\"10\" y=\"20\" width=\"70\" height=\"13\" fill=\"#ffffff\" "
                       "stroke=\"none\"/>\n<text x=\"10\" "
                       "y=\"30\" fill=\"#ff0000\" textLength=\"70\" lengthAdjust=\"spacingAndGlyphs\">"
                       "a&lt;b &amp; c&gt;d </text>"),
              std::string::npos);
    EXPECT_EQ(svg.find("a<b"), std::string::npos);
    EXPECT_LT(svg.find("<line"), svg.find("<text"));  // drawing order kept
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(SvgWriter, ReportsFilesThatCannotBeWritten) {
    const MonospaceMeasurer measurer;
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / "veltra_svg_writer_test";
    std::filesystem::create_directories(directory);
    const std::string path = (directory / "map.svg").string();
    ASSERT_TRUE(write_svg_file(path, {}, 100, 50, measurer));
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    EXPECT_EQ(content.str(), svg_document({}, 100, 50, measurer));

    EXPECT_FALSE(write_svg_file((directory / "missing" / "map.svg").string(), {}, 100, 50, measurer));
    EXPECT_FALSE(write_svg_file(directory.string(), {}, 100, 50, measurer));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(write_svg_file("/dev/full", {}, 100, 50, measurer));  // a full disk
    }
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace veltra::ui

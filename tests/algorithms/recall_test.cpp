#include "algorithms/recall.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "reference.h"

namespace veltra::algorithms {
namespace {

using test::FixedWorkspace;
using test::Rows;

class Recall : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("veltra_recall_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }
    static std::string contents(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static std::vector<std::int32_t> counts(const core::Workspace& ws) {
        return {ws.win_counts.data(), ws.win_counts.data() + ws.nprotos};
    }

    std::filesystem::path dir_;
};

TEST_F(Recall, SelectionsByStartAndCycle) {
    // Datavector i lies on prototype i: each wins its own.
    Rows data;
    for (int i = 0; i < 10; ++i) data.push_back({i * 10.0});
    FixedWorkspace f;
    ASSERT_TRUE(test::set_up(f.ws, data, 2, 5));
    test::set_prototypes(f.ws, data);

    // Start 2, cycle 3: datavectors 2, 5 and 8.
    ASSERT_TRUE(recall_frequency(f.ws, path("a.frq"), 2, 3));
    EXPECT_EQ(counts(f.ws), (std::vector<std::int32_t>{0, 1, 0, 0, 1, 0, 0, 1, 0, 0}));
    EXPECT_EQ(contents(path("a.frq")),
              "    0     1     0     0     1 \r\n    0     0     1     0     0 \r\n");
    ASSERT_TRUE(recall_assignment(f.ws, path("a.lst"), 2, 3));
    EXPECT_EQ(contents(path("a.lst")), "    2  2\r\n    5  5\r\n    8  8\r\n");

    // Start ndata: the last one only; start ndata + 1: none.
    ASSERT_TRUE(recall_assignment(f.ws, path("b.lst"), 10, 1));
    EXPECT_EQ(contents(path("b.lst")), "   10 10\r\n");
    ASSERT_TRUE(recall_frequency(f.ws, path("c.frq"), 11, 1));
    EXPECT_EQ(counts(f.ws), std::vector<std::int32_t>(10, 0));
    ASSERT_TRUE(recall_assignment(f.ws, path("c.lst"), 11, 1));
    EXPECT_EQ(contents(path("c.lst")), "");

    // A file that cannot be created fails; the counts are updated all the same.
    EXPECT_FALSE(recall_frequency(f.ws, path("missing/d.frq"), 1, 1));
    EXPECT_EQ(counts(f.ws), std::vector<std::int32_t>(10, 1));
    EXPECT_FALSE(recall_frequency(f.ws, path("e.frq"), 1, 0));
}

TEST_F(Recall, TiesGoToTheLowerPrototypeAndLargeNumbersDoNotOverflow) {
    FixedWorkspace f;
    ASSERT_TRUE(test::set_up(f.ws, {{1.5}, {0}, {3}, {1.5}}, 1, 2));
    test::set_prototypes(f.ws, {{0}, {3}});
    ASSERT_TRUE(recall_frequency(f.ws, path("tie.frq"), 1, 1));
    EXPECT_EQ(counts(f.ws), (std::vector<std::int32_t>{3, 1}));
    ASSERT_TRUE(recall_assignment(f.ws, path("tie.lst"), 1, 3));
    EXPECT_EQ(contents(path("tie.lst")), "    1  1\r\n    4  1\r\n");

    FixedWorkspace g;
    ASSERT_TRUE(test::set_up(g.ws, Rows(32767, {0.0}), 1, 1));
    test::set_prototypes(g.ws, {{1}});
    ASSERT_TRUE(recall_frequency(g.ws, path("big.frq"), 32767, 32767));
    EXPECT_EQ(counts(g.ws), std::vector<std::int32_t>{1});
    ASSERT_TRUE(recall_frequency(g.ws, path("big.frq"), 2, 32767));  // datavector 2 only
    EXPECT_EQ(counts(g.ws), std::vector<std::int32_t>{1});
    ASSERT_TRUE(recall_assignment(g.ws, path("big.lst"), 32767, 32767));
    EXPECT_EQ(contents(path("big.lst")), "32767  1\r\n");
}

}  // namespace
}  // namespace veltra::algorithms

#include "io/result_writers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <filesystem>
#include <string>
#include <vector>

#include "io/matrix_reader.h"
#include "tests/core/matrix_helpers.h"
#include "tests/core/temp_directory.h"

namespace veltra::io {
namespace {

using testing::make_matrix;
using testing::read_bytes;
using testing::TempDirectory;
using testing::values_of;

struct ResultWritersTest : ::testing::Test {
    std::string path(const char* name) const { return dir.path(name); }

    TempDirectory dir;
    core::Heap heap;
};

TEST_F(ResultWritersTest, PrototypesOneLinePerRowEveryValueFollowedByABlank) {
    const core::Matrix one_row = make_matrix(heap, 1, 2, {0.5, -1.25});
    ASSERT_TRUE(write_prototypes_file(path("a.wgt"), one_row, 1, 2));
    EXPECT_EQ(read_bytes(path("a.wgt")), "0.500000 -1.250000 \r\n");

    const core::Matrix two_rows = make_matrix(heap, 2, 1, {1e-7, 123456.7890125});
    ASSERT_TRUE(write_prototypes_file(path("b.wgt"), two_rows, 2, 1));
    EXPECT_EQ(read_bytes(path("b.wgt")), "0.000000 \r\n123456.789012 \r\n");
}

TEST_F(ResultWritersTest, HugeValuesAreWrittenWhole) {
    const core::Matrix huge = make_matrix(heap, 1, 2, {1e300, -DBL_MAX});
    ASSERT_TRUE(write_prototypes_file(path("huge.wgt"), huge, 1, 2));
    const std::string bytes = read_bytes(path("huge.wgt"));
    char expected[1000];
    std::snprintf(expected, sizeof expected, "%f %f \r\n", 1e300, -DBL_MAX);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), 301 + 7 + 1 + 310 + 7 + 1 + 2);
}

TEST_F(ResultWritersTest, PrototypesReadBackRoundedToSixDecimals) {
    const core::Matrix prototypes =
        make_matrix(heap, 3, 2, {0.1234564, -0.1234565, 98765.4321, -0.0000004, 1e-9, 42});
    ASSERT_TRUE(write_prototypes_file(path("p.wgt"), prototypes, 3, 2));
    core::Matrix back = make_matrix(heap, 3, 2);
    ASSERT_TRUE(read_matrix_file(path("p.wgt"), back, 3, 2));
    for (std::int32_t i = 0; i < 3; ++i) {
        for (std::int32_t j = 0; j < 2; ++j) {
            char six[64];
            std::snprintf(six, sizeof six, "%f", prototypes[i][j]);
            EXPECT_EQ(back[i][j], std::strtod(six, nullptr)) << i << "," << j;
            EXPECT_NEAR(back[i][j], prototypes[i][j], 5.000001e-7);
        }
    }
}

TEST_F(ResultWritersTest, FrequencyFieldsOfFiveAndALineBreakPerMapRow) {
    const std::vector<std::int32_t> counts = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(write_frequency_file(path("f.frq"), counts, 3));
    EXPECT_EQ(read_bytes(path("f.frq")), "    1     2     3 \r\n    4     5     6 \r\n");
    // A value too wide widens its field; a per-line count that does not divide leaves the last line open.
    const std::vector<std::int32_t> odd = {123456, 7, 8};
    ASSERT_TRUE(write_frequency_file(path("g.frq"), odd, 2));
    EXPECT_EQ(read_bytes(path("g.frq")), "123456     7 \r\n    8 ");
}

TEST_F(ResultWritersTest, ViolationsArePercentagesOfTheirSum) {
    const std::vector<std::int32_t> none = {0, 0, 0, 0};
    ASSERT_TRUE(write_violations_file(path("n.vio"), none, 2));
    EXPECT_EQ(read_bytes(path("n.vio")), "  0.00   0.00 \r\n  0.00   0.00 \r\n");
    const std::vector<std::int32_t> some = {1, 3};
    ASSERT_TRUE(write_violations_file(path("s.vio"), some, 2));
    EXPECT_EQ(read_bytes(path("s.vio")), " 25.00  75.00 \r\n");
    const std::vector<std::int32_t> all = {2, 0, 2};
    ASSERT_TRUE(write_violations_file(path("a.vio"), all, 3));
    EXPECT_EQ(read_bytes(path("a.vio")), " 50.00   0.00  50.00 \r\n");
    const std::vector<std::int32_t> one = {7};
    ASSERT_TRUE(write_violations_file(path("o.vio"), one, 1));
    EXPECT_EQ(read_bytes(path("o.vio")), "100.00 \r\n");
}

TEST_F(ResultWritersTest, AssignmentWritesTheSelectedDatavectorsAndTheirWinners) {
    const std::vector<std::int32_t> winners = {0, 1, 2, 3, 4, 5, 6, 7, 8, 35};
    ASSERT_TRUE(write_assignment_file(path("a.lst"), winners, 2, 3, 10));
    EXPECT_EQ(read_bytes(path("a.lst")), "    2  2\r\n    5  5\r\n    8  8\r\n");
    ASSERT_TRUE(write_assignment_file(path("b.lst"), winners, 10, 1, 10));
    EXPECT_EQ(read_bytes(path("b.lst")), "   10 36\r\n");
    ASSERT_TRUE(write_assignment_file(path("e.lst"), winners, 11, 1, 10));
    EXPECT_TRUE(std::filesystem::exists(path("e.lst")));
    EXPECT_EQ(read_bytes(path("e.lst")), "");
}

TEST_F(ResultWritersTest, AssignmentRefusesSelectionsOutsideTheWinnerList) {
    const std::vector<std::int32_t> winners = {0, 1, 2};
    EXPECT_FALSE(write_assignment_file(path("x.lst"), winners, 1, 0, 3));  // would never advance
    EXPECT_FALSE(write_assignment_file(path("x.lst"), winners, 0, 1, 3));  // no datavector 0
    EXPECT_FALSE(write_assignment_file(path("x.lst"), winners, 1, 1, 4));  // no datavector 4
    EXPECT_FALSE(std::filesystem::exists(path("x.lst")));
    // The last number near the largest integer does not overflow the step.
    std::vector<std::int32_t> many(3, 0);
    EXPECT_FALSE(write_assignment_file(path("y.lst"), many, 1, 2147483647, 2147483647));
}

TEST_F(ResultWritersTest, MeanValuesExampleByteForByte) {
    const core::Matrix data = make_matrix(heap, 2, 2, {1, 3, 2, 1});
    const std::vector<std::int32_t> winners = {0, 0};
    ASSERT_TRUE(write_mean_values_file(path("m.avg"), heap, winners, data, 2, 1, 2));
    EXPECT_EQ(read_bytes(path("m.avg")),
              "vars:\r\n"
              "                1           2   \r\n"
              "prot  1:\r\n"
              "           1.5000      2.0000   ");
    EXPECT_EQ(heap.live_blocks(), 3u);  // only the data: the temporary storage went back
}

TEST_F(ResultWritersTest, MeanValuesOfAPrototypeThatWinsNothingAreZero) {
    const core::Matrix data = make_matrix(heap, 3, 1, {-4, 10, 20});
    const std::vector<std::int32_t> winners = {2, 0, 0};
    ASSERT_TRUE(write_mean_values_file(path("m.avg"), heap, winners, data, 3, 3, 1));
    EXPECT_EQ(read_bytes(path("m.avg")),
              "vars:\r\n"
              "                1   \r\n"
              "prot  1:\r\n"
              "          15.0000   \r\n"
              "prot  2:\r\n"
              "           0.0000   \r\n"
              "prot  3:\r\n"
              "          -4.0000   ");
}

TEST_F(ResultWritersTest, MeanValuesWithoutTemporaryStorageCreateNoFile) {
    const core::Matrix data = make_matrix(heap, 2, 2, {1, 3, 2, 1});
    const std::vector<std::int32_t> winners = {0, 1};
    const std::size_t blocks = heap.live_blocks();
    // 0: the count vector fails; 1: the mean matrix's index; 2: its first row.
    for (std::size_t budget : {0, 1, 2}) {
        heap.set_allocation_budget(budget);
        EXPECT_FALSE(write_mean_values_file(path("m.avg"), heap, winners, data, 2, 2, 2)) << budget;
        EXPECT_FALSE(std::filesystem::exists(path("m.avg"))) << budget;
        EXPECT_EQ(heap.live_blocks(), blocks) << budget;
    }
}

TEST_F(ResultWritersTest, AFileThatCannotBeCreatedFails) {
    const core::Matrix m = make_matrix(heap, 1, 1, {1});
    const std::vector<std::int32_t> v = {1};
    const std::string nowhere = dir.path("no/such/dir/file");
    EXPECT_FALSE(write_prototypes_file(nowhere, m, 1, 1));
    EXPECT_FALSE(write_frequency_file(nowhere, v, 1));
    EXPECT_FALSE(write_violations_file(nowhere, v, 1));
    EXPECT_FALSE(write_assignment_file(nowhere, std::vector<std::int32_t>{0}, 1, 1, 1));
    const std::vector<std::int32_t> winners = {0};
    EXPECT_FALSE(write_mean_values_file(nowhere, heap, winners, m, 1, 1, 1));
    EXPECT_EQ(heap.live_blocks(), 2u);
}

TEST_F(ResultWritersTest, AWriteErrorIsReportedAsFailure) {
    // /dev/full accepts the open and refuses every byte: the error surfaces at the flush.
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    const core::Matrix m = make_matrix(heap, 1, 1, {1});
    const std::vector<std::int32_t> v = {1, 2};
    const std::vector<std::int32_t> winners = {0};
    EXPECT_FALSE(write_prototypes_file("/dev/full", m, 1, 1));
    EXPECT_FALSE(write_frequency_file("/dev/full", v, 2));
    EXPECT_FALSE(write_violations_file("/dev/full", v, 2));
    EXPECT_FALSE(write_assignment_file("/dev/full", winners, 1, 1, 1));
    EXPECT_FALSE(write_mean_values_file("/dev/full", heap, winners, m, 1, 1, 1));
    // Large enough to fail inside a write, not only at the flush.
    const core::Matrix big = make_matrix(heap, 2000, 50);
    EXPECT_FALSE(write_prototypes_file("/dev/full", big, 2000, 50));
}

}  // namespace
}  // namespace veltra::io

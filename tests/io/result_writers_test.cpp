#include "io/result_writers.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cfloat>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "io/atomic_file.h"
#include "io/matrix_reader.h"
#include "tests/core/matrix_helpers.h"
#include "tests/support/temp_directory.h"

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
    ASSERT_EQ(read_matrix_file(path("p.wgt"), back, 3, 2, heap), ReadResult::ok);
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

// While it lives, this process cannot write files beyond `bytes`, as if the
// disk ran full there (the write fails with EFBIG; the signal is ignored).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    rlimit saved_{};
    void (*handler_)(int);
};

unsigned permission_bits(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0u;
}

std::size_t entries_in(const std::string& folder) {
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

struct AtomicWriteTest : ResultWritersTest {
    AtomicWriteTest() {
        for (std::int32_t k = 0; k < 3000; ++k) {
            many.push_back(k);
            winners.push_back(k % 36);
        }
        for (std::int32_t i = 0; i < prototypes.rows(); ++i)
            for (std::int32_t j = 0; j < prototypes.cols(); ++j) prototypes[i][j] = i * 1000.5 + j;
    }

    // Every writer of the program, each with more than 4 KiB to write.
    std::vector<std::pair<const char*, std::function<bool(const std::string&)>>> writers() {
        return {
            {"prototypes",
             [this](const std::string& p) { return write_prototypes_file(p, prototypes, 36, 30); }},
            {"frequency", [this](const std::string& p) { return write_frequency_file(p, many, 6); }},
            {"violations", [this](const std::string& p) { return write_violations_file(p, many, 6); }},
            {"assignment",
             [this](const std::string& p) { return write_assignment_file(p, winners, 1, 1, 3000); }},
            {"mean values",
             [this](const std::string& p) {
                 return write_mean_values_file(p, heap, winners, data, 100, 36, 40);
             }},
            {"picture",
             [](const std::string& p) { return write_file_atomically(p, std::string(5000, 'x')); }},
        };
    }

    std::vector<std::int32_t> many;
    std::vector<std::int32_t> winners;
    core::Matrix prototypes = make_matrix(heap, 36, 30);
    core::Matrix data = make_matrix(heap, 100, 40);
};

TEST_F(AtomicWriteTest, AFailedWriteKeepsTheExistingFileByteForByte) {
    const std::string old_bytes = "0.500000 -1.250000 \r\n";
    for (const auto& [name, writer] : writers()) {
        const std::string target = dir.write("result", old_bytes);
        {
            const FileSizeLimit full(4096);
            EXPECT_FALSE(writer(target)) << name;
        }
        EXPECT_EQ(read_bytes(target), old_bytes) << name;
        EXPECT_EQ(entries_in(dir.path("")), 1u) << name << ": the temporary file stays behind";
        // Without the limit the same writer replaces the file.
        EXPECT_TRUE(writer(target)) << name;
        EXPECT_GT(read_bytes(target).size(), 4096u) << name;
        EXPECT_EQ(entries_in(dir.path("")), 1u) << name;
    }
}

TEST_F(AtomicWriteTest, AFullFilesystemKeepsTheExistingFile) {
    // A real small filesystem that runs full, where one can be mounted.
    const std::string small = dir.path("small");
    std::filesystem::create_directory(small);
    if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs can be mounted";
    const std::string target = small + "/p.wgt";
    ASSERT_TRUE(write_prototypes_file(target, prototypes, 1, 30));
    const std::string old_bytes = read_bytes(target);
    core::Matrix huge = make_matrix(heap, 2000, 20);
    EXPECT_FALSE(write_prototypes_file(target, huge, 2000, 20));
    EXPECT_EQ(read_bytes(target), old_bytes);
    EXPECT_EQ(entries_in(small), 1u);
    umount(small.c_str());
}

TEST_F(AtomicWriteTest, ReplacingKeepsPermissionsAndFollowsLinks) {
    const std::string real = dir.write("real.wgt", "old");
    chmod(real.c_str(), 0604);
    std::filesystem::create_symlink("real.wgt", dir.path("link.wgt"));
    for (const auto& [name, writer] : writers()) {
        ASSERT_TRUE(writer(dir.path("link.wgt"))) << name;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.path("link.wgt"))) << name;
        EXPECT_GT(read_bytes(real).size(), 4096u) << name;
        EXPECT_EQ(permission_bits(real), 0604u) << name;
        EXPECT_EQ(entries_in(dir.path("")), 2u) << name;
    }
    // A new file gets the bits any new file gets.
    const mode_t mask = umask(0);
    umask(mask);
    ASSERT_TRUE(write_prototypes_file(path("new.wgt"), prototypes, 1, 1));
    EXPECT_EQ(permission_bits(path("new.wgt")), 0666u & ~mask);
}

}  // namespace
}  // namespace veltra::io

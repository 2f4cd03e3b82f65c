#include "io/matrix_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "io/matrix_scanner.h"
#include "tests/core/matrix_helpers.h"
#include "tests/support/temp_directory.h"

namespace veltra::io {
namespace {

using testing::make_matrix;
using testing::TempDirectory;
using testing::values_of;

constexpr double UNTOUCHED = -777.0;

struct MatrixReaderTest : ::testing::Test {
    // Reads `bytes` as a rows x cols matrix prefilled with UNTOUCHED; returns the reader's flag.
    bool read(const std::string& bytes, std::int32_t rows, std::int32_t cols) {
        matrix = make_matrix(heap, rows, cols);
        for (std::int32_t i = 0; i < rows; ++i) std::fill(matrix[i], matrix[i] + cols, UNTOUCHED);
        return read_matrix_file(dir.write("input.dat", bytes), matrix, rows, cols, heap) == ReadResult::ok;
    }
    std::vector<double> values() const { return values_of(matrix); }

    TempDirectory dir;
    core::Heap heap;
    core::Matrix matrix;
};

TEST_F(MatrixReaderTest, LineStructureDoesNotMatter) {
    ASSERT_TRUE(read("1 2 3 4\n", 2, 2));
    EXPECT_EQ(values(), (std::vector<double>{1, 2, 3, 4}));
    ASSERT_TRUE(read("1\n2\n3\n4\n", 2, 2));
    EXPECT_EQ(values(), (std::vector<double>{1, 2, 3, 4}));
    // A carriage return is a separator like the line feed after it.
    ASSERT_TRUE(read("1\r\n2\r\n3\r\n4\r\n", 2, 2));
    EXPECT_EQ(values(), (std::vector<double>{1, 2, 3, 4}));
}

TEST_F(MatrixReaderTest, AnyOtherByteSeparates) {
    // The exponent letter separates: 1.5e3 is two numbers.
    ASSERT_TRUE(read("1.5e3\n", 1, 2));
    EXPECT_EQ(values(), (std::vector<double>{1.5, 3}));
    // The plus sign is a separator, not a sign.
    ASSERT_TRUE(read("+2\n", 1, 1));
    EXPECT_EQ(values(), (std::vector<double>{2}));
    // A decimal comma splits a number in two.
    ASSERT_TRUE(read("1,5\n", 1, 2));
    EXPECT_EQ(values(), (std::vector<double>{1, 5}));
    ASSERT_TRUE(read(std::string("7\0"
                                 "8\t9;x10\x80\xff",
                                 12) +
                         "11 ",
                     1, 5));
    EXPECT_EQ(values(), (std::vector<double>{7, 8, 9, 10, 11}));
}

TEST_F(MatrixReaderTest, HeaderWordsWithDigitsShiftTheValues) {
    ASSERT_TRUE(read("height1 weight2\n170 65\n180 80\n", 2, 2));
    EXPECT_EQ(values(), (std::vector<double>{1, 2, 170, 65}));
}

TEST_F(MatrixReaderTest, TokensConvertByTheirLongestDecimalPrefix) {
    ASSERT_TRUE(read("-1.5 5. -.25 1.2.3 1-2 - . --3 -0 007 .5 1..2 -5-\n", 1, 13));
    const std::vector<double> expected = {-1.5, 5, -0.25, 1.2, 1, 0, 0, 0, -0.0, 7, 0.5, 1, -5};
    EXPECT_EQ(values(), expected);
    EXPECT_TRUE(std::signbit(values()[8]));  // -0 gives -0.0, as strtod would
    EXPECT_FALSE(std::signbit(values()[5]));
}

TEST_F(MatrixReaderTest, TheLastNumberNeedsASeparatorAfterIt) {
    EXPECT_FALSE(read("1 2 3 4", 2, 2));
    // The values so far stay; the open token is discarded.
    EXPECT_EQ(values(), (std::vector<double>{1, 2, 3, UNTOUCHED}));
    EXPECT_TRUE(read("1 2 3 4 ", 2, 2));
}

TEST_F(MatrixReaderTest, TooFewNumbersFailKeepingWhatWasRead) {
    EXPECT_FALSE(read("", 1, 1));
    EXPECT_EQ(values(), (std::vector<double>{UNTOUCHED}));
    EXPECT_FALSE(read("no numbers at all\n", 1, 1));
    EXPECT_FALSE(read("1 2 3\n", 2, 2));
    EXPECT_EQ(values(), (std::vector<double>{1, 2, 3, UNTOUCHED}));
}

TEST_F(MatrixReaderTest, MissingFileFailsWithTheMatrixUntouched) {
    matrix = make_matrix(heap, 1, 2, {UNTOUCHED, UNTOUCHED});
    EXPECT_EQ(read_matrix_file(dir.path("missing.dat"), matrix, 1, 2, heap), ReadResult::read_error);
    EXPECT_EQ(read_matrix_file(dir.path(""), matrix, 1, 2, heap), ReadResult::read_error);  // a directory
    EXPECT_EQ(values(), (std::vector<double>{UNTOUCHED, UNTOUCHED}));
}

TEST_F(MatrixReaderTest, EndlessInputsAreRefusedAtOnce) {
    // Devices and directories never end or cannot be read: refused before any reading.
    matrix = make_matrix(heap, 1, 2, {UNTOUCHED, UNTOUCHED});
    for (const char* endless : {"/dev/zero", "/dev/full", "/dev/null", "/dev/urandom", "/"}) {
        EXPECT_EQ(read_matrix_file(endless, matrix, 1, 2, heap), ReadResult::read_error) << endless;
    }
    EXPECT_EQ(values(), (std::vector<double>{UNTOUCHED, UNTOUCHED}));
    // A FIFO without a writer fails at once instead of waiting in open.
    const std::string fifo = dir.path("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(read_matrix_file(fifo, matrix, 1, 2, heap), ReadResult::read_error);
    // A pipe with a writer reads as a file does, waiting for data that comes late.
    const int writer_end = open(fifo.c_str(), O_RDWR);  // counts as a writer at once
    ASSERT_GE(writer_end, 0);
    std::thread writer([writer_end] {
        for (const std::string_view part : {"5 ", "6\n"}) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (write(writer_end, part.data(), part.size()) != static_cast<ssize_t>(part.size())) return;
        }
    });
    EXPECT_EQ(read_matrix_file(fifo, matrix, 1, 2, heap), ReadResult::ok);
    writer.join();
    close(writer_end);
    EXPECT_EQ(values(), (std::vector<double>{5, 6}));
}

TEST_F(MatrixReaderTest, ReadBlockWithoutMemoryIsAMemoryFailure) {
    matrix = make_matrix(heap, 1, 1, {UNTOUCHED});
    const std::string path = dir.write("input.dat", "1\n");
    heap.set_allocation_budget(0);
    EXPECT_EQ(read_matrix_file(path, matrix, 1, 1, heap), ReadResult::out_of_memory);
    heap.set_allocation_budget(std::nullopt);
    EXPECT_EQ(values(), (std::vector<double>{UNTOUCHED}));
    EXPECT_EQ(heap.live_blocks(), 2u);  // the matrix only: nothing kept from the attempt
}

TEST_F(MatrixReaderTest, ShapesTheMatrixCannotHoldAreRefusedUntouched) {
    matrix = make_matrix(heap, 1, 2, {UNTOUCHED, UNTOUCHED});
    const std::string path = dir.write("input.dat", "1 2 3 4 5 6\n");
    EXPECT_EQ(read_matrix_file(path, matrix, 2, 2, heap), ReadResult::read_error);
    EXPECT_EQ(read_matrix_file(path, matrix, 1, 3, heap), ReadResult::read_error);
    EXPECT_EQ(read_matrix_file(path, matrix, 0, 2, heap), ReadResult::read_error);
    EXPECT_EQ(read_matrix_file(path, matrix, 1, 0, heap), ReadResult::read_error);
    EXPECT_EQ(read_matrix_file(path, matrix, -1, -2, heap), ReadResult::read_error);
    EXPECT_EQ(values(), (std::vector<double>{UNTOUCHED, UNTOUCHED}));
    // A smaller part of a larger matrix is fine.
    EXPECT_EQ(read_matrix_file(path, matrix, 1, 1, heap), ReadResult::ok);
    EXPECT_EQ(values(), (std::vector<double>{1, UNTOUCHED}));
}

TEST_F(MatrixReaderTest, MoreNumbersThanNeededSucceed) {
    ASSERT_TRUE(read("1 2 3 4 5 6 7", 2, 2));
    EXPECT_EQ(values(), (std::vector<double>{1, 2, 3, 4}));
    // Reading stops at the separator after the last number: what follows is never looked at.
    ASSERT_TRUE(read(std::string("1 2 3 4\n").append(100000, 'x') + "1e", 2, 2));
}

TEST_F(MatrixReaderTest, RunsLongerThanEightyCharactersFailTheRead) {
    // 80 characters are one token; an 81st fails the read, so that a huge value
    // (a "%f" of 1e80 has 88) never comes back cut to a tenth of itself.
    const std::string eighty = std::string("1.").append(78, '5');
    ASSERT_TRUE(read(eighty + " 2\n", 1, 2));
    EXPECT_EQ(values(), (std::vector<double>{std::strtod(eighty.c_str(), nullptr), 2}));
    char huge[128];
    std::snprintf(huge, sizeof huge, "%f ", 1e80);
    EXPECT_FALSE(read(std::string("7 ") + huge + "8 9\n", 2, 2));
    EXPECT_EQ(values(), (std::vector<double>{7, UNTOUCHED, UNTOUCHED, UNTOUCHED}));
    EXPECT_FALSE(read(std::string(81, '-') + "5 ", 1, 1));
    // After the last row nothing is looked at.
    EXPECT_TRUE(read("1 2 " + std::string(200, '9'), 1, 2));
    // Across block boundaries of every size.
    for (std::size_t block = 1; block <= 90; ++block) {
        const std::string path = dir.write("long.dat", "3 " + std::string(81, '1') + " 4\n");
        EXPECT_EQ(read_matrix_file_in_blocks(path, matrix, 1, 2, heap, block), ReadResult::read_error)
            << block;
    }
}

// Reads `bytes` with blocks of every size from 1 to `largest`, so that every token spans a boundary.
void expect_every_block_size_reads(const TempDirectory& dir, const std::string& bytes, std::int32_t rows,
                                   std::int32_t cols, const std::vector<double>& expected,
                                   std::size_t largest) {
    core::Heap heap;
    const std::string path = dir.write("blocks.dat", bytes);
    for (std::size_t block = 1; block <= largest; ++block) {
        core::Matrix m = make_matrix(heap, rows, cols);
        ASSERT_EQ(read_matrix_file_in_blocks(path, m, rows, cols, heap, block), ReadResult::ok) << block;
        EXPECT_EQ(values_of(m), expected) << block;
    }
}

TEST_F(MatrixReaderTest, TokensSpanningBlockBoundariesReadAsOne) {
    const std::string long_run = std::string("-3.").append(77, '1');
    const std::vector<double> expected = {-12.5, 0.125, std::strtod(long_run.c_str(), nullptr), 42, 0.0, 7};
    expect_every_block_size_reads(dir, std::string("  -12.5,\r\n.125 ") + long_run + " x42y--\n7\n", 2, 3,
                                  expected, 130);
}

TEST_F(MatrixReaderTest, TokenAcrossTheRealBlockSize) {
    // A file larger than the reader's block, with a token across the first boundary.
    std::string bytes(READ_BLOCK_SIZE - 3, ' ');
    bytes += "123456.5 -2 ";
    ASSERT_TRUE(read(bytes, 1, 2));
    EXPECT_EQ(values(), (std::vector<double>{123456.5, -2}));
}

TEST(SampleData, FilesHoldExactlyTheirStatedShapes) {
    const std::string data_dir = VELTRA_TEST_DATA_DIR "/../data/";
    core::Heap heap;
    core::Matrix iris = make_matrix(heap, 151, 4);
    ASSERT_EQ(read_matrix_file(data_dir + "iris.dat", iris, 150, 4, heap), ReadResult::ok);
    EXPECT_EQ(std::vector<double>(iris[0], iris[0] + 4), (std::vector<double>{5.1, 3.5, 1.4, 0.2}));
    EXPECT_EQ(std::vector<double>(iris[149], iris[149] + 4), (std::vector<double>{5.9, 3.0, 5.1, 1.8}));
    EXPECT_EQ(read_matrix_file(data_dir + "iris.dat", iris, 151, 4, heap), ReadResult::read_error);
    core::Matrix clusters = make_matrix(heap, 601, 3);
    EXPECT_EQ(read_matrix_file(data_dir + "clusters.dat", clusters, 600, 3, heap), ReadResult::ok);
    EXPECT_EQ(read_matrix_file(data_dir + "clusters.dat", clusters, 601, 3, heap), ReadResult::read_error);
}

TEST(MatrixScanner, StopsAtTheSeparatorAfterTheLastNumber) {
    core::Heap heap;
    core::Matrix m = make_matrix(heap, 2, 2);
    MatrixScanner scanner(m, 2, 2);
    EXPECT_FALSE(scanner.feed("1 2", 3));
    EXPECT_FALSE(scanner.feed("0 3 4", 5));  // "20" spans the blocks; "4" is still open
    EXPECT_FALSE(scanner.complete());
    EXPECT_TRUE(scanner.feed(" 5 6", 4));
    EXPECT_TRUE(scanner.complete());
    EXPECT_TRUE(scanner.feed("7 8 ", 4));  // ignored
    EXPECT_EQ(values_of(m), (std::vector<double>{1, 20, 3, 4}));
}

// The rule of the reader spelled out: longest prefix, then strtod on it.
double reference_conversion(const std::string& token) {
    std::size_t end = 0;
    if (end < token.size() && token[end] == '-') ++end;
    std::size_t digits = 0;
    while (end < token.size() && std::isdigit(static_cast<unsigned char>(token[end]))) ++end, ++digits;
    if (end < token.size() && token[end] == '.') {
        ++end;
        while (end < token.size() && std::isdigit(static_cast<unsigned char>(token[end]))) ++end, ++digits;
    }
    if (digits == 0) return 0.0;
    return std::strtod(token.substr(0, end).c_str(), nullptr);
}

TEST(ConvertToken, AgreesBitForBitWithTheLongestPrefixUnderStrtod) {
    std::mt19937 random(1936);
    const std::string alphabet = "0123456789.-";
    for (int n = 0; n < 200000; ++n) {
        std::string token;
        const std::size_t length = 1 + random() % (n % 10 == 0 ? MAX_TOKEN_LENGTH : 24);
        // Mostly digits, so that long mantissas and hard roundings occur.
        for (std::size_t k = 0; k < length; ++k)
            token += alphabet[random() % 64 < 58 ? random() % 10 : 10 + random() % 2];
        const double expected = reference_conversion(token);
        const double actual = convert_token(token.data(), token.size());
        ASSERT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0) << token;
    }
}

TEST(ConvertToken, HardRoundingCases) {
    // Halfway and near-halfway cases between doubles, and the limits of 80 characters.
    const std::string zeros(77, '0');
    for (const std::string& token : std::vector<std::string>{
             "9007199254740993", "9007199254740992.5", "0.1", "2.2250738585072011", "4.9406564584124654",
             "1797693134862315708145274237317043567981", std::string("0.0") + zeros,
             std::string("0.") + zeros + "1",
             "123456789012345678901234567890.123456789012345678901234567890123456789012345678", "-0.000",
             std::string("-0") + zeros + "1"}) {
        ASSERT_LE(token.size(), MAX_TOKEN_LENGTH);
        const double expected = std::strtod(token.c_str(), nullptr);
        const double actual = convert_token(token.data(), token.size());
        EXPECT_EQ(std::memcmp(&expected, &actual, sizeof expected), 0) << token;
    }
}

}  // namespace
}  // namespace veltra::io

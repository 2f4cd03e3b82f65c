#include "core/workspace.h"

#include <gtest/gtest.h>

#include "core/map_shape.h"
#include "tests/core/matrix_helpers.h"
#include "tests/support/temp_directory.h"

namespace veltra::core {
namespace {

using testing::TempDirectory;
using testing::values_of;

struct WorkspaceTest : ::testing::Test {
    TempDirectory dir;
    Workspace ws;
};

TEST_F(WorkspaceTest, ImportDatavectorsReadsTheFileIntoANewMatrix) {
    const std::string path = dir.write("data.dat", "1 2\r\n3 4\r\n5 6\r\n");
    ASSERT_EQ(import_datavectors(ws, path, 3, 2), ImportResult::ok);
    EXPECT_EQ(ws.ndata, 3);
    EXPECT_EQ(ws.nvars, 2);
    EXPECT_EQ(ws.data.rows(), 3);
    EXPECT_EQ(ws.data.cols(), 2);
    EXPECT_EQ(values_of(ws.data), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    // A second import replaces the matrix.
    ASSERT_EQ(import_datavectors(ws, path, 2, 3), ImportResult::ok);
    EXPECT_EQ(values_of(ws.data), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ws.heap.live_blocks(), 3u);
}

TEST_F(WorkspaceTest, ImportDatavectorsOutOfMemoryLeavesNoDataButTheNewCounts) {
    const std::string path = dir.write("data.dat", "1 2 3 4\n");
    ASSERT_EQ(import_datavectors(ws, path, 2, 2), ImportResult::ok);
    // 5: the matrix is had, the read block is not.
    for (std::size_t budget : {0, 1, 3, 5}) {
        ws.heap.set_allocation_budget(budget);
        EXPECT_EQ(import_datavectors(ws, path, 4, 1), ImportResult::out_of_memory) << budget;
        EXPECT_EQ(ws.ndata, 4);
        EXPECT_EQ(ws.nvars, 1);
        EXPECT_TRUE(ws.data.empty());
        EXPECT_EQ(ws.heap.live_blocks(), 0u);
    }
}

TEST_F(WorkspaceTest, ImportDatavectorsReadErrorKeepsThePartialMatrix) {
    // The 3 is followed by a blank, the 4 by nothing: three values are taken.
    const std::string path = dir.write("short.dat", "1 2 3 4");
    ASSERT_EQ(import_datavectors(ws, path, 2, 2), ImportResult::read_error);
    ASSERT_EQ(ws.data.rows(), 2);
    EXPECT_EQ(ws.data[0][0], 1.0);
    EXPECT_EQ(ws.data[0][1], 2.0);
    EXPECT_EQ(ws.data[1][0], 3.0);
    EXPECT_EQ(import_datavectors(ws, dir.path("missing.dat"), 2, 2), ImportResult::read_error);
    EXPECT_EQ(ws.data.rows(), 2);
}

struct PrototypeImportTest : WorkspaceTest {
    PrototypeImportTest() {
        const std::string path = dir.write("data.dat", "0 0\n1 1\n2 2\n");
        EXPECT_EQ(import_datavectors(ws, path, 3, 2), ImportResult::ok);
        EXPECT_EQ(set_map_shape(ws, 1, 2), MapShapeResult::ok);
        ws.prototypes[0][0] = 10;
        ws.prototypes[0][1] = 20;
        ws.prototypes[1][0] = 30;
        ws.prototypes[1][1] = 40;
    }
};

TEST_F(PrototypeImportTest, SuccessReplacesThePrototypes) {
    const std::string path = dir.write("weights.wgt", "1.5 2.5 \r\n3.5 4.5 \r\n");
    ASSERT_EQ(import_prototypes(ws, path), ImportResult::ok);
    EXPECT_EQ(values_of(ws.prototypes), (std::vector<double>{1.5, 2.5, 3.5, 4.5}));
}

TEST_F(PrototypeImportTest, ADataFileReadsAsPrototypesByItsFirstNumbers) {
    ASSERT_EQ(import_prototypes(ws, dir.path("data.dat")), ImportResult::ok);
    EXPECT_EQ(values_of(ws.prototypes), (std::vector<double>{0, 0, 1, 1}));
}

TEST_F(PrototypeImportTest, FailureLeavesThePrototypesExactlyAsTheyWere) {
    const std::vector<double> before = values_of(ws.prototypes);
    const double* row = ws.prototypes[0];
    for (const char* bytes : {"", "7 8 9", "7 8 9 10"}) {
        const std::string path = dir.write("bad.wgt", bytes);
        EXPECT_EQ(import_prototypes(ws, path), ImportResult::read_error) << bytes;
        EXPECT_EQ(values_of(ws.prototypes), before) << bytes;
        EXPECT_EQ(ws.prototypes[0], row);
    }
    EXPECT_EQ(import_prototypes(ws, dir.path("missing.wgt")), ImportResult::read_error);
    EXPECT_EQ(values_of(ws.prototypes), before);
}

}  // namespace
}  // namespace veltra::core

#include "core/table_import.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

#include "core/map_shape.h"
#include "core/measures.h"
#include "core/table_export.h"
#include "tests/core/matrix_helpers.h"
#include "tests/support/temp_directory.h"

namespace veltra::core {
namespace {

using testing::TempDirectory;
using testing::values_of;

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

TEST(ColumnScaling, AgainstHandComputedValues) {
    // Columns: 1 2 3 4 (mean 2.5, sd sqrt(5/3)); 2 4 10 -> see range; 7 constant.
    std::vector<double> z = {1, 7, 2, 7, 3, 7, 4, 7};
    const ColumnScaling zscore = scale_columns(z, 4, 2, Scaling::zscore);
    const double sd = std::sqrt(5.0 / 3.0);
    EXPECT_EQ(z, (std::vector<double>{-1.5 / sd, 0, -0.5 / sd, 0, 0.5 / sd, 0, 1.5 / sd, 0}));
    EXPECT_DOUBLE_EQ(z[0], -1.161895003862225);
    EXPECT_EQ(zscore.offsets, (std::vector<double>{2.5, 7}));
    EXPECT_EQ(zscore.scales, (std::vector<double>{sd, 1}));
    EXPECT_EQ(zscore.constant_columns, (std::vector<std::int32_t>{1}));

    std::vector<double> r = {2, 0.1, 4, 0.1, 10, 0.1};
    const ColumnScaling range = scale_columns(r, 3, 2, Scaling::range);
    EXPECT_EQ(r, (std::vector<double>{0, 0, 0.25, 0, 1, 0}));
    EXPECT_EQ(range.offsets, (std::vector<double>{2, 0.1}));
    EXPECT_EQ(range.scales, (std::vector<double>{8, 1}));
    EXPECT_EQ(range.constant_columns, (std::vector<std::int32_t>{1}));

    std::vector<double> one = {5, -3};
    EXPECT_EQ(scale_columns(one, 1, 2, Scaling::zscore).constant_columns, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(one, (std::vector<double>{0, 0}));
    std::vector<double> kept = {1, 2};
    EXPECT_TRUE(scale_columns(kept, 2, 1, Scaling::none).offsets.empty());
    EXPECT_EQ(kept, (std::vector<double>{1, 2}));
}

struct TableImportTest : ::testing::Test {
    TempDirectory dir;
    Workspace ws;

    TableImportReport import(const std::string& text, Scaling scaling = Scaling::none) {
        TableImportOptions options;
        options.scaling = scaling;
        return import_table(ws, dir.write("table.csv", text), options);
    }
};

TEST_F(TableImportTest, FillsDataNamesLabelsAndScaling) {
    const TableImportReport report = import("x,y,kind\n1,10,a\n3,10,b\n", Scaling::zscore);
    ASSERT_EQ(report.status, TableImportStatus::ok);
    EXPECT_EQ(report.constant_columns, (std::vector<std::string>{"y"}));
    EXPECT_EQ(ws.ndata, 2);
    EXPECT_EQ(ws.nvars, 2);
    const double half_diagonal = 1 / std::sqrt(2.0);
    EXPECT_EQ(values_of(ws.data), (std::vector<double>{-half_diagonal, 0, half_diagonal, 0}));
    EXPECT_EQ(ws.annotations.variable_names, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(ws.annotations.label_column, "kind");
    EXPECT_EQ(ws.annotations.labels, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(original_value(ws.annotations, 0, ws.data[1][0]), 3);
    EXPECT_EQ(original_value(ws.annotations, 1, ws.data[1][1]), 10);
    EXPECT_EQ(ws.data_file_name, dir.path("table.csv"));
}

TEST_F(TableImportTest, AFailedImportChangesNothing) {
    ASSERT_EQ(import("a,b\n1,2\n").status, TableImportStatus::ok);
    const double* data = ws.data[0];
    const std::string name = ws.data_file_name;
    const auto unchanged = [&] {
        EXPECT_EQ(ws.ndata, 1);
        EXPECT_EQ(ws.nvars, 2);
        EXPECT_EQ(ws.data[0], data);
        EXPECT_EQ(values_of(ws.data), (std::vector<double>{1, 2}));
        EXPECT_EQ(ws.annotations.variable_names, (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(ws.data_file_name, name);
    };
    const TableImportReport refused = import_table(ws, dir.write("gap.csv", "x\n1\n\n\"2\n"), {});
    EXPECT_EQ(refused.status, TableImportStatus::refused);
    EXPECT_EQ(refused.error.kind, io::TableErrorKind::unterminated_quote);
    unchanged();
    EXPECT_EQ(import_table(ws, dir.path("none.csv"), {}).error.kind, io::TableErrorKind::cannot_open);
    unchanged();
    ws.heap.set_allocation_budget(0);
    EXPECT_EQ(import_table(ws, dir.write("more.csv", "x\n1\n2\n"), {}).status,
              TableImportStatus::out_of_memory);
    unchanged();
}

TEST_F(TableImportTest, ExportsReadBackToTheSameBits) {
    ASSERT_EQ(import("u,v,name\n0.1,1e-7,p\n2.5,-3,q\n7,1e300,\"r, s\"\n", Scaling::range).status,
              TableImportStatus::ok);
    ASSERT_EQ(set_map_shape(ws, 1, 2), MapShapeResult::ok);
    for (std::int32_t k = 0; k < 2; ++k) {
        ws.prototypes[0][k] = ws.data[0][k];
        ws.prototypes[1][k] = ws.data[2][k] * (1.0 / 3.0);
    }
    const std::string prototypes = dir.path("prototypes.csv");
    ASSERT_TRUE(export_table(ws, TableKind::prototypes, prototypes));
    auto read = io::read_table_file(prototypes, {});
    ASSERT_TRUE(std::holds_alternative<io::Table>(read));
    const io::Table& table = std::get<io::Table>(read);
    EXPECT_EQ(table.variable_names, (std::vector<std::string>{"prototype", "row", "col", "u", "v"}));
    for (std::int32_t p = 0; p < 2; ++p) {
        EXPECT_EQ(table.values[p * 5 + 2], p + 1);
        for (std::int32_t k = 0; k < 2; ++k)
            EXPECT_EQ(bits(table.values[p * 5 + 3 + k]),
                      bits(original_value(ws.annotations, k, ws.prototypes[p][k])));
    }

    const std::string assignment = dir.path("assignment.csv");
    ASSERT_TRUE(export_table(ws, TableKind::assignment, assignment));
    EXPECT_EQ(testing::read_bytes(assignment).substr(0, 53),
              "datavector,name,winner,row,col,squared_distance\n1,p,1");
    auto back = io::read_table_file(assignment, {});
    ASSERT_TRUE(std::holds_alternative<io::Table>(back));
    const io::Table& assigned = std::get<io::Table>(back);
    EXPECT_EQ(assigned.labels, (std::vector<std::string>{"p", "q", "r, s"}));
    for (std::int32_t i = 0; i < 3; ++i) {
        const std::int32_t w = ws.winners[i];
        EXPECT_EQ(assigned.values[i * 5 + 1], w + 1);
        EXPECT_EQ(bits(assigned.values[i * 5 + 4]), bits(squared_distance(ws.data[i], ws.prototypes[w], 2)));
    }

    const std::string frequency = dir.path("frequency.csv");
    ASSERT_TRUE(export_table(ws, TableKind::frequency, frequency));
    EXPECT_EQ(testing::read_bytes(frequency), "prototype,row,col,frequency\n1,1,1,1\n2,1,2,2\n");
    EXPECT_FALSE(export_table(ws, TableKind::frequency, dir.path("no/such/folder.csv")));
}

}  // namespace
}  // namespace veltra::core

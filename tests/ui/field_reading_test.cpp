#include "ui/field_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "all_dialog_templates.h"
#include "recording_host.h"
#include "ui/dialog_templates.h"
#include "ui/file_filters.h"
#include "ui/headless_dialog.h"
#include "ui/menu.h"

namespace veltra::ui {
namespace {

TEST(FieldReading, LeadingIntegerTakesBlanksSignAndDigitsOnly) {
    EXPECT_EQ(leading_integer("  42abc"), 42);
    EXPECT_EQ(leading_integer("\t-17"), -17);
    EXPECT_EQ(leading_integer("+8"), 8);
    EXPECT_EQ(leading_integer("3x"), 3);
    EXPECT_EQ(leading_integer(""), 0);
    EXPECT_EQ(leading_integer("abc"), 0);
    EXPECT_EQ(leading_integer("- 5"), 0);  // no blank between sign and digits
    EXPECT_EQ(leading_integer("1 2"), 1);
    // Huge numbers saturate instead of wrapping, so they stay out of range.
    EXPECT_EQ(leading_integer("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(leading_integer("-99999999999999999999999"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(leading_integer("2147483647"), 2147483647);
    EXPECT_EQ(leading_integer("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(leading_integer(leading_chars("327670", 5)), 32767);
}

TEST(FieldReading, LeadingRealFollowsTheDecimalRule) {
    EXPECT_EQ(leading_real("0.0"), 0.0);
    EXPECT_EQ(leading_real("  1.5xyz"), 1.5);
    EXPECT_EQ(leading_real("-.25"), -0.25);
    EXPECT_EQ(leading_real("+3."), 3.0);
    EXPECT_EQ(leading_real("1e3"), 1000.0);
    EXPECT_EQ(leading_real("1E-2"), 0.01);
    EXPECT_EQ(leading_real("2e"), 2.0);  // an exponent without digits is not part of the number
    EXPECT_EQ(leading_real("2e+x"), 2.0);
    EXPECT_EQ(leading_real("0.1"), 0.1);  // correctly rounded
    EXPECT_EQ(leading_real("1.0001"), 1.0001);
    EXPECT_EQ(leading_real("."), 0.0);
    EXPECT_EQ(leading_real("letters"), 0.0);
    // Words are no numbers, and neither is hexadecimal notation beyond its 0.
    EXPECT_EQ(leading_real("inf"), 0.0);
    EXPECT_EQ(leading_real("-infinity"), 0.0);
    EXPECT_EQ(leading_real("nan"), 0.0);
    EXPECT_EQ(leading_real("0x10"), 0.0);
    // Beyond the double range: infinities of the sign; below it: zero.
    EXPECT_EQ(leading_real("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leading_real("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leading_real("123e99999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leading_real("1e-999"), 0.0);
    EXPECT_EQ(leading_real("0.0001e-400"), 0.0);
    EXPECT_EQ(leading_real("100000e-330"), 0.0);  // six digits, still below the range
    EXPECT_EQ(leading_real("0.000001e312"), 1e306);
    EXPECT_EQ(leading_real("0e999999"), 0.0);
    EXPECT_EQ(leading_real("4e-320"), 4e-320);  // subnormal values stay
    EXPECT_EQ(leading_real(leading_chars("1234567890123456", 12)), 123456789012.0);
}

TEST(FieldReading, SteppersMoveOnlyWithinTheirBounds) {
    testing::RecordingHost host;
    struct Dummy final : DialogProcedure {
        const DialogTemplate& dialog_template() const override { return TRIALS; }
        void on_open(DialogHost&) override {}
        void on_command(DialogHost&, int) override {}
    } dummy;
    HeadlessDialog dialog(dummy, host);
    const auto step = [&](std::string text, int direction) {
        dialog.type(TRIALS_COUNT, text);
        const std::int32_t value = step_integer_field(dialog, TRIALS_COUNT, 14, direction, 1, 9999);
        EXPECT_EQ(std::to_string(value), dialog.item_text(TRIALS_COUNT)) << text;
        return dialog.item_text(TRIALS_COUNT);
    };
    EXPECT_EQ(step("9999", +1), "9999");
    EXPECT_EQ(step("1", -1), "1");
    EXPECT_EQ(step("0", +1), "1");
    EXPECT_EQ(step("10000", -1), "9999");
    EXPECT_EQ(step("letters", +1), "1");
    EXPECT_EQ(step(" 7 trials", -1), "6");
    // A value out of range is left as typed when the step leads away from the range.
    dialog.type(TRIALS_COUNT, "-5");
    step_integer_field(dialog, TRIALS_COUNT, 14, -1, 1, 9999);
    EXPECT_EQ(dialog.item_text(TRIALS_COUNT), "-5");
}

TEST(FieldReading, FormatsRealsInAnyLength) {
    EXPECT_EQ(format_real("%15.2f", 0.25), "           0.25");
    EXPECT_EQ(format_real("%-6.4f", 0.01), "0.0100");
    EXPECT_EQ(format_real("%.2f %%", 12.5), "12.50 %");
    EXPECT_EQ(format_real("%15.2f", 1e300).size(), 304u);
}

TEST(Resources, TemplatesMenuAndFiltersAreConsistent) {
    for (const DialogTemplate* t : testing::ALL_DIALOG_TEMPLATES) {
        int named_so = 0;
        for (const DialogTemplate* other : testing::ALL_DIALOG_TEMPLATES) named_so += other->name == t->name;
        EXPECT_EQ(named_so, 1) << t->name;
        for (const ControlTemplate& control : t->controls) {
            if (control.id < 0) continue;
            int same = 0;
            for (const ControlTemplate& other : t->controls) same += other.id == control.id;
            EXPECT_EQ(same, 1) << t->name << " control " << control.id;
        }
    }

    // Every command id appears exactly once in the menu, Help stands at the right end.
    std::vector<int> ids;
    const std::function<void(std::span<const MenuEntry>)> collect = [&](std::span<const MenuEntry> entries) {
        for (const MenuEntry& entry : entries) {
            if (entry.kind == MenuEntryKind::command) ids.push_back(entry.id);
            collect(entry.items);
        }
    };
    collect(main_menu());
    std::sort(ids.begin(), ids.end());
    std::vector<int> expected(core::ALL_COMMANDS.begin(), core::ALL_COMMANDS.end());
    expected.insert(expected.end(), core::TABLE_COMMANDS.begin(), core::TABLE_COMMANDS.end());
    expected.insert(expected.end(), core::VIEW_COMMANDS.begin(), core::VIEW_COMMANDS.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ids, expected);
    ASSERT_EQ(main_menu().size(), 6u);
    EXPECT_EQ(main_menu()[4].text, "&View");
    EXPECT_EQ(main_menu().back().text, "&Help");
    EXPECT_TRUE(main_menu().back().right_end);

    const std::vector<FileFilter> filters = file_filters(FILTER_WEIGHTS_OPEN);
    ASSERT_EQ(filters.size(), 4u);
    EXPECT_EQ(filters[0].description, "Weights Files (*.wgt)");
    EXPECT_EQ(filters[0].pattern, "*.wgt");
    EXPECT_EQ(filters[3].pattern, "*.*");
    EXPECT_EQ(file_filters(FILTER_ASSIGNMENT).size(), 2u);
    EXPECT_EQ(file_filters(FILTER_TABLE_OPEN)[0].pattern, "*.csv;*.tsv;*.txt");
    EXPECT_EQ(file_filters(FILTER_PICTURE)[0].pattern, "*.png;*.svg");
    EXPECT_TRUE(file_filters(10).empty());
}

}  // namespace
}  // namespace veltra::ui

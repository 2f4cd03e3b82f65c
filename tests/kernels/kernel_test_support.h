#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "core/kernels/instruction_set.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::core::testing {

inline constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();
inline constexpr double INFINITE = std::numeric_limits<double>::infinity();

inline Matrix make_matrix(Heap& heap, std::int32_t rows, std::int32_t cols) {
    auto m = alloc_matrix(heap, rows, cols);
    EXPECT_TRUE(m.has_value());
    return std::move(*m);
}

// Equal bits, with every NaN counted as the same value: which operand's NaN an
// operation passes on (payload and sign) is not fixed by the arithmetic but by
// the order in which the compiler happens to place commutative operands, so not
// even the plain loop keeps it from one build to the next.
inline ::testing::AssertionResult same_bits(double a, double b) {
    if (std::memcmp(&a, &b, sizeof a) == 0 || (a != a && b != b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a << " and " << b << " differ in their bits";
}

// The instruction sets this processor can run; the others cannot be tested here.
inline std::vector<InstructionSet> runnable_instruction_sets() {
    std::vector<InstructionSet> sets;
    for (auto set : {InstructionSet::sse2, InstructionSet::avx2, InstructionSet::avx512}) {
        if (instruction_set_supported(set)) sets.push_back(set);
    }
    return sets;
}

inline const char* name_of(InstructionSet set) {
    switch (set) {
        case InstructionSet::sse2:
            return "sse2";
        case InstructionSet::avx2:
            return "avx2";
        case InstructionSet::avx512:
            return "avx512";
    }
    return "?";
}

// Returns to the widest instruction set when a test ends.
struct KernelSettingsGuard {
    KernelSettingsGuard() = default;
    KernelSettingsGuard(const KernelSettingsGuard&) = delete;
    KernelSettingsGuard& operator=(const KernelSettingsGuard&) = delete;
    ~KernelSettingsGuard() { EXPECT_TRUE(force_instruction_set(std::nullopt)); }
};

}  // namespace veltra::core::testing

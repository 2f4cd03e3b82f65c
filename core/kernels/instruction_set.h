#pragma once

#include <optional>

namespace veltra::core {

// The vector instruction sets the kernels are built for, narrowest first.
// SSE2 is part of every x86-64 processor.
enum class InstructionSet { sse2, avx2, avx512 };

// Whether this processor can run the kernels built for `set`.
bool instruction_set_supported(InstructionSet set) noexcept;

// The set the kernels use now: the widest this processor supports, unless
// forced.
InstructionSet active_instruction_set() noexcept;

// Makes the kernels use `set` (tests compare every set with the plain loops);
// nullopt returns to the widest. Returns false, changing nothing, when the
// processor lacks `set`.
[[nodiscard]] bool force_instruction_set(std::optional<InstructionSet> set) noexcept;

}  // namespace veltra::core

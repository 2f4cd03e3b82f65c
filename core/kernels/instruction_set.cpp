#include "core/kernels/instruction_set.h"

#include <atomic>

#include "core/kernels/lane_kernels.h"

namespace veltra::core {

namespace {

InstructionSet widest_supported() noexcept {
    if (instruction_set_supported(InstructionSet::avx512)) return InstructionSet::avx512;
    if (instruction_set_supported(InstructionSet::avx2)) return InstructionSet::avx2;
    return InstructionSet::sse2;
}

std::atomic<InstructionSet>& active() noexcept {
    static std::atomic<InstructionSet> set{widest_supported()};
    return set;
}

}  // namespace

bool instruction_set_supported(InstructionSet set) noexcept {
    // May run before the run-time library has read the processor's features
    // (from a static initializer), so read them here.
    __builtin_cpu_init();
    switch (set) {
        case InstructionSet::sse2:
            return true;
        case InstructionSet::avx2:
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
        case InstructionSet::avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("fma");
    }
    return false;
}

InstructionSet active_instruction_set() noexcept { return active().load(std::memory_order_relaxed); }

bool force_instruction_set(std::optional<InstructionSet> set) noexcept {
    if (set && !instruction_set_supported(*set)) return false;
    active().store(set ? *set : widest_supported(), std::memory_order_relaxed);
    return true;
}

const lanes::LaneKernels& lanes::active_kernels() noexcept {
    switch (active_instruction_set()) {
        case InstructionSet::avx512:
            return AVX512_KERNELS;
        case InstructionSet::avx2:
            return AVX2_KERNELS;
        case InstructionSet::sse2:
            break;
    }
    return SSE2_KERNELS;
}

}  // namespace veltra::core

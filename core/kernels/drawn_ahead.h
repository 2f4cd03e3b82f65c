#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/storage/storage.h"

namespace veltra::core {

// The datavectors of a training epoch's presentations, drawn AHEAD
// presentations ahead of their use so that the entries for them in the row
// index come from memory meanwhile; the kernels fetch the rows themselves
// (PrototypeRows::screen). The draws keep their order and number: draw()
// returns a row index and is called exactly `count` times, the last of them
// before the last presentation.
template <class Draw>
class DrawnAhead {
public:
    DrawnAhead(const Matrix& data, std::int32_t count, Draw draw) : data_(data), count_(count), draw_(draw) {
        while (drawn_ < count_ && drawn_ < AHEAD) draw_next();
    }

    // The row index of the next presentation.
    std::int32_t next() noexcept {
        const std::int32_t r = upcoming_[slot(presented_)];
        if (drawn_ < count_) draw_next();
        ++presented_;
        return r;
    }

private:
    static constexpr std::int32_t AHEAD = 32;

    static std::size_t slot(std::int32_t n) noexcept { return static_cast<std::size_t>(n % AHEAD); }

    void draw_next() {
        const std::int32_t r = draw_();
        upcoming_[slot(drawn_)] = r;
        ++drawn_;
        __builtin_prefetch(data_.row_entry(r));
    }

    const Matrix& data_;
    std::int32_t count_;
    Draw draw_;
    std::array<std::int32_t, AHEAD> upcoming_{};
    std::int32_t drawn_ = 0;
    std::int32_t presented_ = 0;
};

}  // namespace veltra::core

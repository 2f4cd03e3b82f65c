#include "core/storage/storage.h"

#include <algorithm>

namespace veltra::core {

std::optional<Matrix> Matrix::allocate(Heap& heap, std::int32_t rows, std::int32_t cols) {
    if (rows < 0 || cols < 0) return std::nullopt;
    auto* index = static_cast<double**>(heap.allocate(sizeof(double*) * static_cast<std::size_t>(rows)));
    if (!index) return std::nullopt;
    Matrix m;
    m.heap_ = &heap;
    m.row_index_ = index;
    m.cols_ = cols;
    for (std::int32_t i = 0; i < rows; ++i) {
        auto* row = static_cast<double*>(heap.allocate(sizeof(double) * static_cast<std::size_t>(cols)));
        if (!row) return std::nullopt;  // m releases the rows so far and the index
        index[i] = row;
        m.rows_ = i + 1;
    }
    return m;
}

void Matrix::reset() noexcept {
    if (heap_) {
        for (std::int32_t i = 0; i < rows_; ++i) heap_->release(row_index_[i]);
        heap_->release(row_index_);
    }
    heap_ = nullptr;
    row_index_ = nullptr;
    rows_ = 0;
    cols_ = 0;
}

void copy_matrix(const Matrix& from, Matrix& to) noexcept {
    for (std::int32_t i = 0; i < from.rows(); ++i) {
        std::copy(from[i], from[i] + from.cols(), to[i]);
    }
}

}  // namespace veltra::core

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "core/storage/heap.h"

namespace veltra::core {

// One vector of n elements from a Heap. Contents are undefined after
// allocation. An empty vector (default-constructed or released) holds nothing.
template <class T>
class Vector {
public:
    Vector() = default;
    Vector(const Vector&) = delete;
    Vector& operator=(const Vector&) = delete;
    Vector(Vector&& other) noexcept { swap(other); }
    Vector& operator=(Vector&& other) noexcept {
        Vector(std::move(other)).swap(*this);
        return *this;
    }
    ~Vector() { reset(); }

    // Returns the vector of n elements, or nullopt when the heap refuses.
    static std::optional<Vector> allocate(Heap& heap, std::int32_t n) {
        if (n < 0) return std::nullopt;
        auto* data = static_cast<T*>(heap.allocate(sizeof(T) * static_cast<std::size_t>(n)));
        if (!data) return std::nullopt;
        Vector v;
        v.heap_ = &heap;
        v.data_ = data;
        v.size_ = n;
        return v;
    }

    void reset() noexcept {
        if (heap_) heap_->release(data_);
        heap_ = nullptr;
        data_ = nullptr;
        size_ = 0;
    }

    bool empty() const noexcept { return data_ == nullptr; }
    std::int32_t size() const noexcept { return size_; }
    T* data() noexcept { return data_; }
    const T* data() const noexcept { return data_; }
    T& operator[](std::int32_t i) noexcept { return data_[i]; }
    const T& operator[](std::int32_t i) const noexcept { return data_[i]; }
    std::span<T> span() noexcept { return {data_, static_cast<std::size_t>(size_)}; }
    std::span<const T> span() const noexcept { return {data_, static_cast<std::size_t>(size_)}; }

    void swap(Vector& other) noexcept {
        std::swap(heap_, other.heap_);
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
    }

private:
    Heap* heap_ = nullptr;
    T* data_ = nullptr;
    std::int32_t size_ = 0;
};

using IntVector = Vector<std::int32_t>;
using RealVector = Vector<double>;

// A matrix of 64-bit values: a row index with one separately allocated row per
// entry. m[i][j] is row i, column j, both from 0. Contents are undefined after
// allocation.
class Matrix {
public:
    Matrix() = default;
    Matrix(const Matrix&) = delete;
    Matrix& operator=(const Matrix&) = delete;
    Matrix(Matrix&& other) noexcept { swap(other); }
    Matrix& operator=(Matrix&& other) noexcept {
        Matrix(std::move(other)).swap(*this);
        return *this;
    }
    ~Matrix() { reset(); }

    // Allocates the row index, then the rows from first to last. When any of
    // them fails, everything allocated so far is released and nullopt returned.
    static std::optional<Matrix> allocate(Heap& heap, std::int32_t rows, std::int32_t cols);

    void reset() noexcept;

    bool empty() const noexcept { return row_index_ == nullptr; }
    std::int32_t rows() const noexcept { return rows_; }
    std::int32_t cols() const noexcept { return cols_; }
    double* operator[](std::int32_t i) noexcept { return row_index_[i]; }
    const double* operator[](std::int32_t i) const noexcept { return row_index_[i]; }
    // Where the row index holds row i (for prefetching it).
    const double* const* row_entry(std::int32_t i) const noexcept { return row_index_ + i; }

    void swap(Matrix& other) noexcept {
        std::swap(heap_, other.heap_);
        std::swap(row_index_, other.row_index_);
        std::swap(rows_, other.rows_);
        std::swap(cols_, other.cols_);
    }

private:
    Heap* heap_ = nullptr;
    double** row_index_ = nullptr;
    std::int32_t rows_ = 0;
    std::int32_t cols_ = 0;
};

// The storage operations of the workspace. Each returns nullopt on failure and
// leaves nothing allocated then.
inline std::optional<Matrix> alloc_matrix(Heap& heap, std::int32_t rows, std::int32_t cols) {
    return Matrix::allocate(heap, rows, cols);
}
inline std::optional<IntVector> alloc_int_vector(Heap& heap, std::int32_t n) {
    return IntVector::allocate(heap, n);
}
inline std::optional<RealVector> alloc_real_vector(Heap& heap, std::int32_t n) {
    return RealVector::allocate(heap, n);
}

// Returns a vector, or a matrix with all its rows, to its heap; an empty one
// is allowed.
template <class Block>
void release_block(Block& block) noexcept {
    block.reset();
}

// Copies a whole matrix of the same shape, value by value.
void copy_matrix(const Matrix& from, Matrix& to) noexcept;

}  // namespace veltra::core

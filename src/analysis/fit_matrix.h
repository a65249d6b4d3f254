// A small dense matrix of doubles for the fitting engines: row-major storage indexed from 0
// through one accessor, so every engine addresses its matrices the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrin {

class FitMatrix {
public:
  FitMatrix() = default;
  FitMatrix(int32_t rows, int32_t cols) : rows_(rows), cols_(cols), v_(size_t(rows) * size_t(cols), 0.0) {}

  double& operator()(int32_t r, int32_t c) { return v_[size_t(r) * size_t(cols_) + size_t(c)]; }
  double operator()(int32_t r, int32_t c) const { return v_[size_t(r) * size_t(cols_) + size_t(c)]; }
  std::span<double> row(int32_t r) { return {v_.data() + size_t(r) * size_t(cols_), size_t(cols_)}; }
  std::span<const double> row(int32_t r) const { return {v_.data() + size_t(r) * size_t(cols_), size_t(cols_)}; }
  int32_t rows() const { return rows_; }
  int32_t cols() const { return cols_; }

private:
  int32_t rows_ = 0, cols_ = 0;
  std::vector<double> v_;
};

}  // namespace kestrin

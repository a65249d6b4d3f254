// Gauss-Jordan elimination with full pivoting: the matrix inverse of both fitting engines.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/fit_matrix.h"

namespace kestrin {

enum class EliminationResult { kDone, kPivotUsedTwice, kZeroPivot };

// Inverts the leading n x n block of a in place and solves it for the leading n x m block of
// b (b may be null when m is 0), in the textbook order: each pass takes the largest element
// of the rows and columns not yet pivoted, swaps it onto the diagonal by a row interchange,
// and eliminates its column from every other row; the columns are unscrambled at the end.
// On a singular matrix it stops at once and leaves the partial state in a and b, which the
// Levenberg-Marquardt step goes on with. A pass that finds no usable element (a matrix of
// NaN) reuses the previous pass's pivot, so the next pass reports it as used twice.
// determinant, when given, receives the product of the pivots with the interchanges' sign
// (0 when the elimination stopped).
EliminationResult gauss_jordan(FitMatrix& a, int32_t n, FitMatrix* b, int32_t m, double* determinant = nullptr);

// gauss_jordan for the Levenberg-Marquardt engine: a singular matrix puts
// "gaussj:Singular Matrix-01" (a pivot used twice) or "gaussj:Singular Matrix-2" (a zero
// pivot) into error, which is left alone otherwise. True when the elimination finished.
bool gaussj(FitMatrix& a, int32_t n, FitMatrix& b, int32_t m, std::string& error);

}  // namespace kestrin

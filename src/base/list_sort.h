// The three sort algorithms of lists: merge sort, quicksort and insertion sort, over an
// array with a three-way comparison. The comparison may be inconsistent (script code):
// every index stays in bounds whatever it answers.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace kestrin {

// Stable top-down merge sort; the midpoint is L/2 + R/2; the right element is taken only
// when compare(left, right) > 0.
template <class T, class Cmp>
void MergeSortRange(std::vector<T>& a, std::vector<T>& work, ptrdiff_t l, ptrdiff_t r, Cmp& cmp) {
  if (r - l < 1) return;
  ptrdiff_t m = l / 2 + r / 2;
  if (m < l) m = l;
  if (m >= r) m = r - 1;
  MergeSortRange(a, work, l, m, cmp);
  MergeSortRange(a, work, m + 1, r, cmp);
  ptrdiff_t i = l, j = m + 1, k = l;
  while (i <= m && j <= r) work[static_cast<size_t>(k++)] = cmp(a[static_cast<size_t>(i)], a[static_cast<size_t>(j)]) > 0 ? a[static_cast<size_t>(j++)] : a[static_cast<size_t>(i++)];
  while (i <= m) work[static_cast<size_t>(k++)] = a[static_cast<size_t>(i++)];
  while (j <= r) work[static_cast<size_t>(k++)] = a[static_cast<size_t>(j++)];
  for (k = l; k <= r; ++k) a[static_cast<size_t>(k)] = work[static_cast<size_t>(k)];
}

// Hoare quicksort with the pivot at (L + R) / 2; scans stay inside [L, R].
template <class T, class Cmp>
void QuickSortRange(std::vector<T>& a, ptrdiff_t l, ptrdiff_t r, Cmp& cmp) {
  while (l < r) {
    ptrdiff_t i = l, j = r;
    T pivot = a[static_cast<size_t>((l + r) >> 1)];
    do {
      while (i < r && cmp(a[static_cast<size_t>(i)], pivot) < 0) ++i;
      while (j > l && cmp(a[static_cast<size_t>(j)], pivot) > 0) --j;
      if (i <= j) {
        std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    // Recurse into the smaller part, loop on the larger: the depth stays logarithmic.
    if (j - l < r - i) {
      if (l < j) QuickSortRange(a, l, j, cmp);
      l = i;
    } else {
      if (i < r) QuickSortRange(a, i, r, cmp);
      r = j;
    }
  }
}

// Stable insertion sort.
template <class T, class Cmp>
void InsertionSort(std::vector<T>& a, Cmp& cmp) {
  for (size_t i = 1; i < a.size(); ++i) {
    size_t j = i;
    while (j > 0 && cmp(a[j - 1], a[j]) > 0) {
      std::swap(a[j - 1], a[j]);
      --j;
    }
  }
}

// Sorts by type: 0 merge, 2 insertion, any other value quicksort.
template <class T, class Cmp>
void SortByType(std::vector<T>& a, unsigned sort_type, Cmp cmp) {
  if (a.size() < 2) return;
  ptrdiff_t last = static_cast<ptrdiff_t>(a.size()) - 1;
  if (sort_type == 0) {
    std::vector<T> work(a.size());
    MergeSortRange(a, work, 0, last, cmp);
  } else if (sort_type == 2) {
    InsertionSort(a, cmp);
  } else {
    QuickSortRange(a, 0, last, cmp);
  }
}

}  // namespace kestrin

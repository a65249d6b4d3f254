// Overload: a visitor built from several lambdas, for std::visit over the value variants.
#pragma once

namespace kestrin::script {

template <class... F>
struct Overload : F... {
  using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

}  // namespace kestrin::script

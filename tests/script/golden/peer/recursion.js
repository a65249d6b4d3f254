// Recursion and functions calling functions.
function fact(n) { if (n <= 1) return 1; return n * fact(n - 1); }
function fib(n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); }
function gcd(a, b) { if (b == 0) return a; return gcd(b, a % b); }
function hanoi(n, from, to, via) {
  if (n == 0) return 0;
  return hanoi(n - 1, from, via, to) + 1 + hanoi(n - 1, via, to, from);
}
println(fact(10));
println(fib(20));
println(gcd(1071, 462));
println(hanoi(10, "a", "c", "b"));

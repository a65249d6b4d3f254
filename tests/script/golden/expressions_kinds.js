// Integers and doubles are kinds: + - * / give doubles; %, bit operators and ++ give integers.
println(1 + 1 === 2, 1 + 1 == 2, typeof (1 + 1));
println(7 % 3 === 1, (6 | 1) === 7);
var n = 1.5;
println(++n);
var m = -1.5;
m--;
println(m);
println(10 / 4, 1 / 3, 0.1 + 0.2, 1e20, 0.00001);
println(-1 >>> 0, 1 << 33);
println("10" < "9", "1" == 1, "" == 0, null == "null");
println(1 / 0 == 1 / 0);

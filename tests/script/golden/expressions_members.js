// Members of objects and primitives; ++ on members; indexing strings and arrays by call.
var o = {n: 1};
println(o.n++, o.n);
println(++o.n);
o["k"] = 4;
println(o.k, o("k"));
println("abc".length, "abc"(1), "abc"[2]);
var a = [5, 6];
println(a(0), a[1]);
a[0] += 10;
println(a[0]);
var s = "x";
s += 1;
println(s);
println(delete (o.k));
println(o.hasKey("k"));
println(delete (o.k));
println(o.toString(), nameOf(o), nameOf(a), nameOf(1));

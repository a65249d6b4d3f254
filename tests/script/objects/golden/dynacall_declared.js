// Declared functions of libc, libm and the test library: letters, results, the "A"
// suffix, chained and repeated registration, window messages without a window, and a
// declaration with an unknown letter.
var dc = new DynaCall();
println(dc.register("libc.so.6", "strlen", "i=s", "r=l") == dc);
println(dc.strlen("kestrin") + " " + dc.strlen(""));
dc.register("libc.so.6", "abs", "i=l", "r=l").register("libm.so.6", "cos", "I=D", "R=D");
println(dc.abs(-12) + " " + dc.cos(0));
var lib = "libkestrin_dynatest.so";
dc.register(lib, "dt_c", "i=c", "r=l");
dc.register(lib, "dt_r_c", "r=c");
dc.register(lib, "dt_second", "i=ls", "r=l");
dc.register(lib, "dt_only", "r=l");
println(dc.dt_c(0x1FF) + " " + dc.dt_r_c() + " " + dc.dt_second(5) + " " + dc.dt_only());
// A second register of a name replaces the member.
dc.register(lib, "dt_c", "i=c", "r=b");
println(dc.dt_c(0x1FF));
dc.register(lib, "dt_null_s", "r=s");
println("[" + dc.dt_null_s() + "]");
println(typeof dc.strlen);
// Out-cells come back into Number objects; a plain number keeps its value.
dc.register(lib, "dt_cell4", "i=4", "r=l").register(lib, "dt_cell8", "i=8", "r=l");
var n = new Number(-7);
var plain = -7;
var big = new Number(5000000);
dc.dt_cell4(n); dc.dt_cell4(plain); dc.dt_cell8(big);
println(n + " " + plain + " " + big);
println(DynaCall.sendMessage(12345, 0x0C, 0, "text", "ls") + " " + DynaCall.postMessage(12345, 0x10));
dc.register("libc.so.6", "labs", "i=x", "r=l");
println("before");
dc.labs(-1);
println("not reached");

// Right operands first: arguments last to first, binary right then left.
var log = "";
function t(name, v) { log = log + name; return v; }
function f(a, b) { return a + b; }
f(t("a", 1), t("b", 2));
println(log);
log = "";
var x = t("g", 1) + t("h", 2);
println(log);
log = "";
var o = {};
o[t("i", "k")] = t("v", 3);
println(log);
log = "";
t("l", 1) < t("r", 2);
println(log);
log = "";
t("L", false) || t("R", true);
println(log);

// Compound assignment and ++/-- on indexed targets evaluate the object and the index once.
var calls = "";
var a = [10, 20, 30];
var o = { p: [5, 6, 7], v: 1 };
function A() { calls = calls + "A"; return a; }
function O() { calls = calls + "O"; return o; }
function k() { calls = calls + "k"; return 1; }
a[k()] += 1;
println(a[1] + " " + calls);
calls = "";
a[k()]++;
println(a[1] + " " + calls);
calls = "";
--a[k()];
println(a[1] + " " + calls);
calls = "";
o.p[k()] -= 2;
println(o.p[1] + " " + calls);
calls = "";
O().p[k()] *= 3;
println(o.p[1] + " " + calls);
calls = "";
A()[k()] += 1;
println(a[1] + " " + calls);
calls = "";
O().v += 1;
println(o.v + " " + calls);
var c = [0, 0, 0];
var i = 0;
c[i++] += 1;
println(c[0] + "," + c[1] + "," + c[2] + " i=" + i);
c[i++]++;
println(c[0] + "," + c[1] + "," + c[2] + " i=" + i);
var r = c[i]++;
println(r + " " + c[2]);

// Array: construction, growth on read, the fifteen methods with their return values, and
// sorting with and without a compare function.
function show(label, v) { println(label + " = " + (isUndefined(v) ? "undefined" : v)); }

show("new Array(3).length", new Array(3).length);
show("new Array(3)[0] is undefined", isUndefined(new Array(3)[0]));
show("new Array(2.5).length", new Array(2.5).length);
show("new Array(\"3\").length", new Array("3").length);
show("new Array(1, 2)", new Array(1, 2));
show("new Array(new Number(2)).length", new Array(new Number(2)).length);

var a = [];
show("a[10] is undefined", isUndefined(a[10]));
show("length after reading a[10]", a.length);
a.length = 2;
show("length = 2", a.length);
a["1"] = "one";
a["01"] = "member";
show("a[\"1\"] and a[1]", a["1"] + " " + a[1]);
show("a.length after a[\"01\"]", a.length);
show("a[\"01\"]", a["01"]);
show("a[\"length\"]", a["length"]);

// Methods and what they give back.
var b = [1, 2, 3];
show("push(4, 5)", b.push(4, 5));
show("push()", b.push());
show("add(6, 7)", b.add(6, 7));
show("add() is undefined", isUndefined(b.add()));
show("pop()", b.pop());
show("shift()", b.shift());
show("unshift(0, 1) === b", b.unshift(0, 1) === b);
show("b", b);
show("reverse()", b.reverse());
show("delete(0)", b.delete(0));
show("slice(1, 3)", b.slice(1, 3));
show("slice(-2)", b.slice(-2));
show("slice(-9)", b.slice(-9).length);
show("slice(9)", b.slice(9).length);
show("slice()", b.slice());
show("splice(1) is undefined", isUndefined(b.splice(1)));
var c = ["a", "b", "c", "d"];
show("splice(1, 2)", c.splice(1, 2));
show("after splice", c);
show("splice(1, 0, x, y)", c.splice(1, 0, "x", "y").length);
show("after insert", c);
show("splice(-1, 1)", c.splice(-1, 1));
show("concat() is undefined", isUndefined(c.concat()));
show("concat([1, [2, 3]], 4)", c.concat([1, [2, 3]], 4).length);
show("concat(\"st\")", [0].concat("st", new String("uv")));
show("join()", [1, null, 3].join());
show("join(\" - \")", [1, 2, 3].join(" - "));
show("join of nested", [1, [2, [3, 4]]].join(";"));
show("toString()", [1, 2].toString());
show("valueOf()", [1, 2].valueOf());
show("assign(\"ab\"... String object)", [9].assign(new String("ab")));
var self = [1, 2];
show("assign(itself)", self.assign(self));
show("clear().length", [1, 2].clear().length);

// Sort: without a compare function the items compare as integers.
show("sort() of 10, 9, 100", [10, 9, 100].sort());
show("sort() of 2147483647, -2147483648, 0", [2147483647, -2147483648, 0].sort());
show("sort() of \"10\", \"9\", 1.5", ["10", "9", 1.5].sort());
show("sort(compare)", [5, 3, 8, 1].sort(function (p, q) { return q - p; }));
// A compare function that changes the array: the sorted items come back whole.
var m = [3, 1, 2];
m.sort(function (p, q) { m.push(99); return p - q; });
show("sort with a mutating compare", m);
// A compare function that throws: the array is left as it was.
var t = [3, 1, 2];
try { t.sort(function (p, q) { throw "stop"; }); } catch (e) { show("caught", e); }
show("after a throwing compare", t);
// An inconsistent compare function still sorts some permutation.
var r = [5, 1, 4, 2, 3];
r.sort(function (p, q) { return 1; });
show("inconsistent compare keeps the items", r.slice().sort());

// for..in walks the items.
var sum = 0;
for (var v in [1, 2, 3]) sum += v;
show("for in", sum);

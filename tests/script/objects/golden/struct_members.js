// Struct layouts, member reads and writes by kind, index access, the description text,
// nested records and the fall-back to ordinary properties.
var p = new Struct("x:l", "y:l");
p.x = 3; p.y = -4;
println(p.sizeOf() + " " + p.x + " " + p.y + " " + p[0] + " " + p[-1] + " " + p[-2]);
var q = new Struct("c", "l");
print(q.toString());
println("");
var t = new Struct("text:4");
t.text = "abcdef";
println(t.text + " " + t.sizeOf());
// A shorter text ends at its NUL; the bytes after it stay.
var u = new Struct("t:8");
u.t = "abcdefg";
u.t = "xy";
var view = new Struct("head:3", "rest:5");
DynaCall.copyMemory(view, u, 8);
println(u.t + " " + view.rest);
var k = new Struct(" c : C ", "short:t", "flag:b", "single:f", "wide:w", "str:s", "big:i", "n:h");
k.c = -1; k.short = 65535; k.flag = 2; k.single = 0.1; k.wide = "ok"; k.str = "text"; k.big = 2.5; k.n = 4294967296;
println(k.c + " " + k.short + " " + k.flag + " " + k.single + " " + k.wide + " " + k.str + " " + k.big + " " + k.n);
k.str = null;
println("[" + k.str + "]");
// A record stored in an "s" member comes back as the object.
var outer = new Struct("inner:s", "n:l");
outer.inner = p;
println((outer.inner == p) + " " + outer.inner.y);
print(outer.toString());
println("");
// Names and indexes that are not members are ordinary properties.
p.other = 5;
p[7] = "seven";
println(p.other + " " + p[7] + " " + p.hasKey("x"));
// A Struct is a collection of its members.
var items = "";
for (var i in p) items += i + "=" + p[i] + ";";
println(items);
var size = p.clear().sizeOf();
println(size + " " + p.hasKey("x"));
var empty = new Struct();
println(empty.sizeOf());
new Struct("a:l", "b:", "c:l");

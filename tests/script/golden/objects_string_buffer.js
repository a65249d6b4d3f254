// StringBuffer: a byte string changed in place, its indexes and searches; then every error.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }

show("new StringBuffer(3, x)", new StringBuffer(3, "x"));
show("new StringBuffer(0).length", new StringBuffer(0).length);
show("new StringBuffer(2).charCodeAt(1)", new StringBuffer(2).charCodeAt(1));
show("new StringBuffer(abc)", new StringBuffer("abc"));
show("new StringBuffer()", "[" + new StringBuffer() + "]");
show("new StringBuffer(new Number(2), 65)", new StringBuffer(new Number(2), 65));

var b = new StringBuffer("0123456789");
var tail = b.slice(-2);
show("slice(-2)", tail + " of " + b);
tail.append("!");
show("the slice is its own buffer", tail + " " + b);
show("slice(2, -5)", b.slice(2, -5));
show("slice()", "[" + b.slice() + "]");
show("slice(8, 2)", "[" + b.slice(8, 2) + "]");
show("substring(5, 2)", b.substring(5, 2));
show("substring(2, 5)", b.substring(2, 5));
show("substring(-3, 2)", b.substring(-3, 2));
show("substring(7)", b.substring(7));
show("substring()", "[" + b.substring() + "]");
show("substr(3, 2)", b.substr(3, 2));
show("substr(8)", b.substr(8));
show("substr(3, -1)", "[" + b.substr(3, -1) + "]");
show("charCodeAt(0)", b.charCodeAt(0));
show("charCodeAt(100) is NaN", isNaN(b.charCodeAt(100)));
show("charCodeAt(-1) is NaN", isNaN(b.charCodeAt(-1)));
show("charCodeAt() is NaN", isNaN(b.charCodeAt()));
show("b[-1]", b[-1]);
show("b[0]", b[0]);
b[0] = "xyz";
b[-1] = 65;
show("b[0] = xyz, b[-1] = 65", b);
show("b.length", b.length);

// Searches count bytes from 0.
b = new StringBuffer("abcabc");
show("indexOf(bc)", b.indexOf("bc"));
show("indexOf(bc, 2)", b.indexOf("bc", 2));
show("indexOf(c, 99)", b.indexOf("c", 99));
show("indexOf(x)", b.indexOf("x"));
show("indexOf()", b.indexOf());
show("lastIndexOf(bc)", b.lastIndexOf("bc"));
show("lastIndexOf(bc, 3)", b.lastIndexOf("bc", 3));
show("lastIndexOf(a, -5)", b.lastIndexOf("a", -5));
show("lastIndexOf()", b.lastIndexOf());

// Edits.
show("append(d, 1, true)", b.append("d", 1, true));
show("delete(6)", b.delete(6));
show("delete(1, 3)", b.delete(1, 3));
show("delete(3, 1)", b.delete(3, 1));
show("insert(1, XY)", b.insert(1, "XY"));
show("insert(99, !)", b.insert(99, "!"));
show("replace(0, 3, -)", b.replace(0, 3, "-"));
show("fill(ab)", b.fill("ab"));
show("fill(66)", b.fill(66));
b.fill();
show("fill()", b.charCodeAt(0) + " " + b.length);
b.text = "abc";
b.length = 5;
show("length = 5", b.charCodeAt(3) + " " + b.charCodeAt(4) + " " + b.length);
b.length = 2;
show("length = 2", b);

// It is a string wherever one is wanted.
show("+", b + "!");
show("String methods", "xaby".indexOf(b));
show("typeof", typeof b);
var n = 0;
for (var c in new StringBuffer("表x")) n++;
show("for in counts bytes", n);
try { b["length"]; } catch (e) { show("b[\"length\"]", e); }
show("b.length", b.length);
//--- next run ---
new StringBuffer("ab")[2];
//--- next run ---
new StringBuffer("ab")[-3] = "x";
//--- next run ---
new StringBuffer("ab")["x"];
//--- next run ---
new StringBuffer("ab").delete();
//--- next run ---
new StringBuffer("ab").insert(1);
//--- next run ---
new StringBuffer("ab").replace(0, 1);
//--- next run ---
new StringBuffer("ab").length = -1;
//--- next run ---
new StringBuffer(-2, "x");
//--- next run ---
new StringBuffer(2000000000);

// String: indexed reading and writing of one character or a range, on String objects and
// on string values.
var s = new String("abc");
println(s[0] + s[1] + s[2], s[-1], s[-3], "xyz"[1], "表ソab"[1]);
s[2] = "X";              // the last character is replaced, not dropped
println(s);
s[0] = "";               // a character may become empty text ...
println(s, s.length);
s[0] = "表表";           // ... or longer text
println(s, s.length, s.sizeOf());
s[1, 3] = "-";           // a range: the slice from 1 to 3
println(s);
s[2, 2] = "end";         // an empty range at the end appends
println(s);
println(s[0, 2], s[-3, -1]);
s.text = "new";
println(s.str, s.length, s.text);
var t = new String("ab");
t[" 1"] = "member";      // only a decimal index text is an index
t["0x1"] = "member";
println(t, t[" 1"], t["0x1"], t.length);
try { println(s[3]); } catch (e) { println("s[3]: " + e); }
try { println(s[-4]); } catch (e) { println("s[-4]: " + e); }
try { s[5] = "x"; } catch (e) { println("s[5] = x: " + e); }
try { println(s["nothing"]); } catch (e) { println("s[nothing]: " + e); }
var n = 0;
for (var c in new String("表ソab")) n++;
println(n);

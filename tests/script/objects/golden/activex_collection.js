// The collection test object: for-in over its items, Count and the default member, the
// Enumerator's moves, and an Enumerator over something that is no collection.
var c = new ActiveXObject("KestrinTest.Collection");
var all = "";
for (var item in c) all += item;
println(all + " " + c.Count + " " + c(0) + c.Item(2));
var e = new Enumerator(c);
while (!e.atEnd()) {
  print(e.item() + ";");
  e.moveNext();
}
println("");
println(e.atEnd() + " " + (typeof e.item()));
e.moveFirst();
println(e.item() + " " + e.atEnd() + " " + e[""]);
e.moveNext();
println(e.item());
for (var x in c) {
  if (x == "b") break;
  println("saw " + x);
}
var raw = "";
for (var y in c.disp) raw += y;
println(raw);
new Enumerator(5);

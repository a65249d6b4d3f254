// switch matches with loose ==; a default that matched nothing runs again with the
// clauses after it; continue in a switch goes to the enclosing loop.
function pick(v) {
  var r = "";
  switch (v) {
    case 1: r = r + "one "; break;
    default: r = r + "default ";
    case "2": r = r + "two "; break;
    case 3: r = r + "three ";
  }
  return r;
}
println(pick(1), pick(2), pick(3), pick(9));
var s = "";
for (var i = 0; i < 4; i++) {
  switch (i) { case 1: continue; case 2: s = s + "b"; break; default: s = s + "d"; }
  s = s + i;
}
println(s);

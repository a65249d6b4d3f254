// String over every double-byte code (lead 0x81-0x9F, 0xE0-0xFC; trail 0x40-0x7E,
// 0x80-0xFC): one character of two bytes, its code round-trips, reverse keeps its bytes,
// and a search for its trail byte alone never matches inside it.
var codes = 0, failures = 0, lowered = 0, raised = 0;
function fail(code, what) {
  failures++;
  if (failures <= 10) println("failed " + code.toString(16) + ": " + what);
}
for (var lead = 0x81; lead <= 0xFC; lead++) {
  if (lead > 0x9F && lead < 0xE0) continue;
  for (var trail = 0x40; trail <= 0xFC; trail++) {
    if (trail == 0x7F) continue;
    codes++;
    var code = lead * 256 + trail;
    var c = String.fromCharCode(code);
    if (c.length != 1 || c.sizeOf() != 2) fail(code, "length");
    if (c.charCodeAt(0) != code || String.fromCharCode(c.charCodeAt(0)) != c || c.charAt(0) != c) fail(code, "code");
    var s = c + "ab" + c;
    if (s.length != 4 || s.reverse() != c + "ba" + c || s.reverse().reverse() != s) fail(code, "reverse");
    if (s.charAt(3) != c || s.substr(1, 2) != "ab" || s.slice(-1) != c) fail(code, "positions");
    var t = String.fromCharCode(trail), twice = c + c;
    if (twice.indexOf(t) != (lead == trail ? 0 : -1) || twice.lastIndexOf(t) != (lead == trail ? 1 : -1)) fail(code, "search");
    if (twice.indexOf(c, 1) != 1 || twice.lastIndexOf(c) != 1) fail(code, "search itself");
    if (c.toLowerCase() != c) lowered++;
    if (c.toUpperCase() != c) raised++;
  }
}
// Half-width katakana are single-byte characters and have no case.
for (var b = 0xA1; b <= 0xDF; b++) {
  var k = String.fromCharCode(b);
  if (k.length != 1 || k.toLowerCase() != k || k.toUpperCase() != k) fail(b, "half-width kana");
}
println("codes " + codes + ", failures " + failures);
// Full-width Latin (26), Greek (24) and Cyrillic (33) letters have a case partner.
println("codes lowered " + lowered + ", raised " + raised);
// A lone lead byte at the end is one character and nothing is read past it.
var lone = "ab" + String.fromCharCode(0x83);
println(lone.length, lone.sizeOf(), lone.charCodeAt(2), lone.reverse().charCodeAt(0), lone.indexOf(String.fromCharCode(0x83)));

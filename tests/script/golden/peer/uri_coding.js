// encodeURIComponent and decodeURIComponent on texts whose escapes have decimal hex digits
// only (Kestrin writes lower-case hex, the peers upper case).
var texts = ["a b", "50% off", "x@y", "\"quoted\" #1 $2 &3", "a`b", "plain-text_(ok)!*'."];
for (var i = 0; i < texts.length; i++) {
  var e = encodeURIComponent(texts[i]);
  println(e);
  println(decodeURIComponent(e) == texts[i]);
}
println(decodeURIComponent("%20%40%60%25"));

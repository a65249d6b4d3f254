// encodeURIComponent and encodeURI over every ASCII byte from 1 on, upper-cased (Kestrin
// writes lower-case hex digits, the peers upper case), and each byte decoded back. Left
// out: NUL, "$" (which Kestrin's encodeURI encodes) and "~" (which Kestrin always encodes).
var component = "";
var uri = "";
var back = true;
for (var c = 1; c < 128; c++) {
  if (c == 36 || c == 126) continue;
  var ch = String.fromCharCode(c);
  component += encodeURIComponent(ch).toUpperCase();
  uri += encodeURI(ch).toUpperCase();
  back = back && decodeURIComponent(encodeURIComponent(ch)) == ch && decodeURI(encodeURI(ch)) == ch;
}
println(component);
println(uri);
println(back);

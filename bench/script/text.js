// Text: 3e5 rounds of searches, character codes, copies and case mapping over 1,800 ASCII
// characters, then indexOf, charAt and substring loops over 56,000 Japanese characters.
var ascii = "";
while (ascii.length < 1800) ascii = ascii + "The quick brown fox jumps over the lazy dog. ";
ascii = ascii.substring(0, 1800);
var n = 0;
for (var r = 0; r < 300000; r++) {
  var k = r % 1700;
  n = n + ascii.indexOf("lazy", k) + ascii.lastIndexOf("fox", k) + ascii.charCodeAt(k);
  n = n + ascii.substring(k, k + 20).length + ascii.slice(k, k + 10).length;
  if (r % 100 == 0) n = n + ascii.toUpperCase().length + ascii.toLowerCase().length;
}
var unit = "日本語の文章を検索する試験、";
var japanese = "";
while (japanese.length < 56000) japanese = japanese + unit;
var found = 0, chars = 0, pieces = 0;
for (var i = 0; i < japanese.length; i++) {
  if (japanese.charAt(i) == "試") chars++;
  if (i % 100 == 0) {
    found = found + japanese.indexOf("検索", i);
    pieces = pieces + japanese.substring(i, i + 50).length;
  }
}
print(n + " " + chars + " " + found + " " + pieces);

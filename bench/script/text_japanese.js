// Japanese text: 56,000 characters searched with indexOf from each match on, read with
// charAt at every third character, and 20,000 pieces of 30 characters searched in turn.
var unit = "日本語の文章を検索する試験、";
var japanese = "";
while (japanese.length < 56000) japanese = japanese + unit;
var found = 0, chars = 0, pieces = 0;
for (var round = 0; round < 10; round++) {
  for (var p = japanese.indexOf("検索"); p >= 0; p = japanese.indexOf("検索", p + 1)) found++;
  for (var i = 0; i < japanese.length; i += 3) if (japanese.charAt(i) == "試") chars++;
}
for (var j = 0; j < 20000; j++) {
  var k = (j * 7) % 55000;
  pieces = pieces + japanese.substring(k, k + 30).indexOf("試験");
}
print(found + " " + chars + " " + pieces);

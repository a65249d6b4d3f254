// ASCII text: 3e5 rounds of searches, character codes, copies and case mapping over 1,800
// characters.
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
print(n);

// The String object's Japanese code conversions and crypt; codes() shows the bytes.
function codes(s) {
  var r = "";
  for (var i = 0; i < s.length; i++) r += (i > 0 ? " " : "") + s.charCodeAt(i);
  return r;
}
var sjis = "漢字";
println(codes(sjis));
println(codes(sjis.toJIS()));
println(codes(sjis.toEUC()));
println(sjis.toSJIS() == sjis);
println(sjis.toJIS().toSJIS() == sjis);
println(sjis.toJIS().toEUC() == sjis.toEUC());
println(sjis.toEUC().toSJIS() == sjis);
println(sjis.toEUC().toJIS() == sjis.toJIS());
var crlf = String.fromCharCode(13, 10);
println(("a" + sjis + crlf).toJIS() == ("a" + sjis + crlf).fromSJIStoJIS());
println(codes(("a" + sjis + crlf).toJIS()));
// Pairwise conversions do not guess.
println(codes("ｶﾞﾊﾟｳﾞ".fromSJIStoJIS()));
println(codes("ｶﾞ".fromSJIStoEUC()));
println("ｶﾞ".fromSJIStoEUC().fromEUCtoSJIS() == "ｶﾞ");
println(sjis.fromSJIStoEUC().fromEUCtoJIS().fromJIStoSJIS() == sjis);
println(sjis.fromSJIStoJIS().fromJIStoEUC() == sjis.fromSJIStoEUC());
// Plain, undecided (half-width kana alone, EUC-JP katakana alone) and binary texts stay.
println("plain".toJIS() + " " + "plain".toEUC() + " " + "plain".toSJIS());
println("ｶﾞ".toJIS() == "ｶﾞ");
println(codes(String.fromCharCode(165, 162, 165, 164).toSJIS()));
println(codes(String.fromCharCode(1, 0x8A, 0xBF).toEUC()));
// crypt.
println("test".crypt("ab"));
println("".crypt(".."));
println("[" + "test".crypt() + "]");
println("test".crypt("a"));
println("longer than eight".crypt("xy") == "longer t".crypt("xy"));

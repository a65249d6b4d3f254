// Global: percent coding. escape keeps letters, digits and ! ' ( ) * - . _, writes a blank
// as "+" and every other byte as lower-case %hh (so "~" is %7e); unescape and the decoders
// decode only when a valid %hh occurs somewhere; decodeURI keeps "+".
var texts = ["a b~", "!'()*-._", ";/?:@&=+,#", "ソ表", "100%", "a+b", "a+b%41", "%%41%4", "%4", "end%"];
var functions = ["escape", "unescape", "encodeURI", "encodeURIComponent", "decodeURI", "decodeURIComponent"];
for (var i = 0; i < texts.length; i++) {
  var line = "[" + texts[i] + "]";
  for (var k = 0; k < functions.length; k++) line += " " + functions[k] + ":[" + eval(functions[k] + "(texts[i])") + "]";
  println(line);
}
// The coding works on the CP932 bytes: a round trip gives the text back.
println(unescape(escape("ソ表 a")) == "ソ表 a", decodeURIComponent(encodeURIComponent("表~")) == "表~");
println(isUndefined(escape()));
// Every byte is coded, NUL included; a "%" without two hex digits after it stays as it is.
var nul = String.fromCharCode(0);
println(escape("x" + nul + "y z"), encodeURI("x" + nul), encodeURIComponent(nul + "~"));
println(unescape("%41%zz!"), decodeURI("%41%g1%"), escape(unescape("%00%4")));

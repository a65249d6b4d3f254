// CRC and Base64: checksums of texts and files, each call afresh; Base64 and MIME header
// words; then every error.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }
var LF = new Number(10).toChar(), CR = new Number(13).toChar();
// Both values after a call (operands of + are evaluated right to left).
function both(c) { var crc16 = c.CRC16; return crc16 + " " + c.CRC32; }

var c = new CRC();
show("a new CRC", both(c));
show("calc(123456789)", both(c.calc("123456789")));
show("the same text again", both(c.calc("123456789")));
show("calc of the empty text", both(c.calc("")));
show("CRC.calc(日本語)", both(CRC.calc("日本語")));
var f = new File("data.bin");
f.open("w"); f.write("123456789"); f.close();
show("calcFile", both(c.calcFile("data.bin")));
var b = new StringBuffer(70000, "x");
f.open("w"); f.write(b); f.close();
var from_file = c.calcFile("data.bin").CRC32;
show("calcFile over the block edge", from_file == c.calc(b).CRC32);
try { c.calcFile("missing.bin"); } catch (e) { show("calcFile(missing)", e); }
show("a failed calcFile leaves the start values", both(c));

show("Base64.encode(abc)", Base64.encode("abc"));
show("Base64.decode(YWJj)", Base64.decode("YWJj"));
show("Base64.encode(日本)", Base64.encode("日本"));
show("Base64.decode of 日本", Base64.decode("k/qWew=="));
show("Base64.decode with CR LF", Base64.decode("YW" + CR + LF + "Jj"));
show("Base64.encode of the empty text", "[" + Base64.encode("") + "]");
show("Base64.encode(new StringBuffer(2))", Base64.encode(new StringBuffer(2)));
var h = Base64.encodeHeader("件名: 日本語 abc");
show("encodeHeader", h);
show("decodeHeader of it", Base64.decodeHeader(h));
show("decodeHeader, any case", Base64.decodeHeader("=?iso-2022-jp?b?GyRCRnxLXBsoQg==?= plain"));
show("decodeHeader of ASCII", Base64.decodeHeader("plain text"));
//--- next run ---
new CRC().calc();
//--- next run ---
CRC.calcFile();
//--- next run ---
CRC.calcFile("missing.bin");
//--- next run ---
CRC.calcFile(".");
//--- next run ---
Base64.encode();
//--- next run ---
Base64.decode();
//--- next run ---
Base64.encodeHeader();
//--- next run ---
Base64.decodeHeader();

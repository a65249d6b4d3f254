// Ini: an INI file held in memory; names without case, trimmed names and values, comments
// kept across update, nothing written without update; then every error.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }
var LF = new Number(10).toChar(), CR = new Number(13).toChar();
function write(name, text) { var f = new File(name); f.open("w"); f.write(text); f.close(); }
function read(name) { var f = new File(name); f.open(); var t = f.read(); f.close(); return t; }
function lines(s) { var out = "", n = s.count; for (var i = 0; i < n; i++) out += "[" + s[i] + "]"; return out; }

write("app.ini", "; made by hand" + LF + "[Main]" + LF + "name = Kestrin" + LF + "# a comment" + LF +
      "width=640" + CR + LF + "not an entry" + LF + LF + "[表]" + CR + "キー = 値" + LF);
var before = read("app.ini");
var ini = new Ini("app.ini");
show("filename", ini.filename);
show("readSections", lines(ini.readSections()));
show("readSection(main)", lines(ini.readSection("main")));
show("read(MAIN, NAME, -)", ini.read("MAIN", "NAME", "-"));
show("read(Main, width, 0)", ini.read("Main", "width", 0));
show("read(Main, missing, 42)", ini.read("Main", "missing", 42));
show("read(表, キー, -)", ini.read("表", "キー", "-"));
show("sectionExists(表)", ini.sectionExists("表"));
show("sectionExists(nothing)", ini.sectionExists("nothing"));
show("sectionExists()", ini.sectionExists());
show("write", ini.write("Main", "height", 480) == ini);
ini.write("main", "NAME", "  Kestrin 2  ");
ini.write("New", "key", "value");
show("the file is unchanged without update", read("app.ini") == before);
show("another object reads the file", new Ini("app.ini").read("Main", "height", "none"));
show("update", ini.update() == ini);
println(read("app.ini"));
ini.deleteKey("Main", "width");
ini.deleteKey("Main", "missing");
ini.eraseSection("表");
ini.eraseSection("missing");
ini.update();
println(read("app.ini"));
show("a new object reads it", new Ini("app.ini").read("main", "height", ""));
show("a missing file is an empty INI", lines(new Ini("none.ini").readSections()) + "|");
try { ini.write("Main", "line", "a" + LF + "b"); } catch (e) { show("write of a line break", e); }
try { ini.write("Main", "a=b", "c"); } catch (e) { show("write of a key with =", e); }
try { ini.write("Main", ";key", "c"); } catch (e) { show("write of a key like a comment", e); }
show("refused writes change nothing", lines(ini.readSection("Main")));
//--- next run ---
new Ini();
//--- next run ---
new Ini("");
//--- next run ---
new Ini(".");
//--- next run ---
new Ini("a.ini").deleteKey("s");
//--- next run ---
new Ini("a.ini").eraseSection();
//--- next run ---
new Ini("a.ini").readSection();
//--- next run ---
new Ini("a.ini").read("s", "k");
//--- next run ---
new Ini("a.ini").write("s", "k");
//--- next run ---
new Ini("a.ini").write("s", "k", "v" + new Number(13).toChar());
//--- next run ---
var f = new File("a file"); f.open("w"); f.close();
var ini = new Ini("a file/below.ini"); ini.write("s", "k", "v"); ini.update();

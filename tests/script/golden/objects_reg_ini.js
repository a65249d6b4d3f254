// RegIni: a key of Kestrin's registry store (config/kestrin/registry/HKEY_CURRENT_USER.reg
// here) read like an INI file; every change is stored at once; names without case, any
// byte but NUL in names and values; then every error.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }
var LF = new Number(10).toChar(), CR = new Number(13).toChar();
function lines(s) { var out = "", n = s.count; for (var i = 0; i < n; i++) out += "[" + s[i] + "]"; return out; }
function store() {
  var f = new File("config/kestrin/registry/HKEY_CURRENT_USER.reg");
  f.open(); var t = f.read(); f.close(); return t;
}

var r = new RegIni("Software\\Kestrin\\Golden");
show("rootKey", r.rootKey);
show("key", r.key);
show("the key exists at once", store());
show("write", r.write("Window", "left", 10) == r);
r.write("window", "Top", "20");
r.write("WINDOW", "LEFT", "11");
r.write("b section", "x", "1");
r.write("A section", "x", "2");
r.write("表\\ソ", "名前", "値");
show("read(Window, left, 0)", r.read("Window", "left", 0));
show("read(Window, missing, def)", r.read("Window", "missing", "def"));
show("readSection(Window): first written first", lines(r.readSection("Window")));
show("readSections: sorted without case", lines(r.readSections()));
show("sectionExists(表)", r.sectionExists("表"));
show("sectionExists(表\\ソ)", r.sectionExists("表\\ソ"));
show("sectionExists()", r.sectionExists());
var other = new RegIni("software\\KESTRIN\\golden");
show("another object sees the values", other.read("WINDOW", "TOP", "-"));

// Names and values keep every byte but NUL.
var odd = "a=b [c] \\d % ;e" + CR + LF + "f";
r.write("Odd", odd, odd);
show("odd name and value", other.read("Odd", odd, "-") == odd);
show("readSection(Odd)", other.readSection("Odd").count + " " + (other.readSection("Odd")[0] == odd));
r.write("Odd", "nul", "before" + new Number(0).toChar() + "after");
show("a NUL ends a value", r.read("Odd", "nul", "-"));
println(store());

r.deleteKey("Window", "left");
r.deleteKey("Window", "missing");
show("deleteKey", lines(r.readSection("Window")));
r.eraseSection("表");
show("eraseSection(表) takes what is below", r.sectionExists("表\\ソ") + " " + lines(r.readSections()));
r.eraseSection("missing");
println(store());
//--- next run ---
new RegIni();
//--- next run ---
new RegIni("k").deleteKey("s");
//--- next run ---
new RegIni("k").eraseSection();
//--- next run ---
new RegIni("k").readSection();
//--- next run ---
new RegIni("k").read("s", "k");
//--- next run ---
new RegIni("k").write("s", "k");

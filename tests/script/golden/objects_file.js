// File: open modes, reads and lines, writes, seeks, the named file's operations and the
// name functions; then every error, each as the last error of a run of its own.
var LF = new Number(10).toChar(), CR = new Number(13).toChar();
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }

// Writing opens for writing only, creates a missing file and overwrites from the start.
var f = new File("a.bin");
show("exists before", f.exists());
show("open w", f.open("w"));
show("write abc", f.write("abc"));
show("canRead, canWrite", f.canRead() + ", " + f.canWrite());
f.close();
show("length after close", f.length);
f.open("rw");
show("rw: canRead, canWrite", f.canRead() + ", " + f.canWrite());
show("write z", f.write("z"));
show("close", f.close());
show("close again", f.close());
show("canWrite after close", f.canWrite());
f.open();
show("default mode: canRead, canWrite", f.canRead() + ", " + f.canWrite());
show("read()", f.read());
f.open("rd");
show("read(10) of 3 bytes", f.read(10));
show("read at the end", "[" + f.read(5) + "]");
show("eof", f.eof());
show("isOpened, flush", f.isOpened() + ", " + f.flush());
f.close();
show("flush when closed", f.flush());

// Lines: every trailing byte below 33 goes, except on the last line without a line feed.
f = new File("lines.txt");
f.open("w");
show("writeln", f.writeln("a \t"));
f.write("b" + CR + CR + LF + CR + LF + "last  ");
f.close();
f.open();
var line;
for (var i = 0; i < 5; i++) { line = f.readln(); println("readln " + i + " = [" + line + "] eof " + f.eof()); }
show("length", f.length);
show("seek 0", f.seek(0));
show("read(2)", f.read(2));
show("readln after read", "[" + f.readln() + "]");
show("seek -5", f.seek(-5));
show("readln from -5", "[" + f.readln() + "]");
f.close();
f = new File("a.txt");
f.open("w"); f.write("a " + CR + LF + "b"); f.close();
f.open();
var first = f.readln(), second = f.readln();
show("a+blank+CRLF+b: first", "[" + first + "]");
show("second, and the first kept", "[" + second + "] [" + first + "]");
show("eof after the second", f.eof());
show("third", "[" + f.readln() + "]");
f.close();

// Seeks: a negative position counts from the size; positions are 64-bit.
f = new File("ten.bin");
f.open("w"); f.write("0123456789");
show("seek -1", f.seek(-1));
show("seek 3000000000", f.seek(3000000000));
show("write at 3000000000", f.write("x"));
f.close();
show("length of the sparse file", f.length);
f.open();
show("seek -2", f.seek(-2));
show("read(10) at the end", f.read(10));
f.close();
f.remove();
show("removed", f.exists());

// The named file.
f = new File("a.bin");
show("copyTo", f.copyTo("b.bin"));
show("copy content", new File("b.bin").exists());
f.open("w"); f.write("longer content"); f.close();
show("copyTo over an existing file", f.copyTo("b.bin"));
var g = new File("b.bin"); g.open(); show("copied", g.read()); g.close();
show("renameTo", f.renameTo("c.bin"));
show("filename after renameTo", f.filename);
show("old name exists", new File("a.bin").exists());
show("exists of a folder", File.exists("."));
show("path", f.path);
f.path = "d.bin";
show("filename after path =", f.filename + " " + f);
show("length of a missing, closed file", f.length);
show("lastModified of a missing file is now", nameOf(f.lastModified) + " " + (Math.abs(f.lastModified.getTime() - new Date().getTime()) < 10000));
show("lastModified of a new file is now", Math.abs(new File("c.bin").lastModified.getTime() - new Date().getTime()) < 10000);
Win32.winExec('touch -d "2001-02-03 04:05:06.789" old.txt');
// (touch makes the file first and dates it after.)
for (var i = 0; i < 250 && new File("old.txt").lastModified.getTime() > 1e12; i++) Win32.sleep(20);
show("lastModified, local time", new File("old.txt").lastModified.toString());
show("lastModified, milliseconds", new File("old.txt").lastModified.getTime());

// Names: the last "/" or "\" that starts a character separates; 表 ends in byte 0x5C.
var names = ["dir/sub/file.tar.gz", "dir\\sub\\file", "/file.txt", "file", "dir//x", "a.b/c",
             "表\\表.txt", "c\\表", ".profile", "dir/"];
for (var i = 0; i < names.length; i++) {
  var n = names[i];
  println(n + ": name [" + File.extractName(n) + "] path [" + File.extractPath(n) + "] dir [" +
          File.extractDir(n) + "] ext [" + File.extractExt(n) + "] drive [" + File.extractDrive(n) + "]");
}
f = new File("x/y.txt");
show("changeExt(.log)", f.changeExt(".log"));
show("changeExt(name, .png)", f.changeExt("a/b.c/d", ".png"));
show("changeExt()", f.changeExt());
show("extractName()", f.extractName());
show("expandUNCFilename(a/../b/./c)", (f.expandUNCFilename("a/../b/./c")));
show("expandUNCFilename()", (f.expandUNCFilename()));
show("extractShortPathName of a missing file", "[" + f.extractShortPathName() + "]");
show("extractShortPathName", (f.extractShortPathName("b.bin")));
show("toString", new File("n.txt").toString());

// Japanese names reach the system as UTF-8 and come back as they were.
f = new File("表ソ.txt");
f.open("w"); f.writeln("日本語"); f.close();
println(new Directory().findFiles("表*").commaText);
f.open(); show("Japanese line", f.readln()); f.close();
//--- next run ---
new File("missing.txt").open();
//--- next run ---
new File("a.bin").read();
//--- next run ---
new File("a.bin").readln();
//--- next run ---
new File("a.bin").write("x");
//--- next run ---
new File("a.bin").writeln("x");
//--- next run ---
new File("a.bin").seek(0);
//--- next run ---
var f = new File("a.bin"); f.open(); f.seek();
//--- next run ---
new File("a.bin").eof();
//--- next run ---
new File("missing.txt").remove();
//--- next run ---
new File(".").remove();
//--- next run ---
new File("a.bin").renameTo();
//--- next run ---
new File("missing.txt").renameTo("other.txt");
//--- next run ---
var f = new File("one.txt"); f.open("w"); f.write("one"); f.close();
var g = new File("two.txt"); g.open("w"); g.write("two"); g.close();
try { f.renameTo("two.txt"); } catch (e) { g.open(); println(e + ": two.txt holds " + g.read()); g.close(); }
f.renameTo("two.txt");
//--- next run ---
new File("a.bin").copyTo();
//--- next run ---
new File("missing.txt").copyTo("other.txt");
//--- next run ---
new File("a.bin").copyTo("a.bin/below/a file");
//--- next run ---
new File("a.bin/below").open("w");
//--- next run ---
new File(".").open();
//--- next run ---
new File("na?ve.txt").open("w");
//--- next run ---
var f = new File("huge.bin"); f.open("w"); f.seek(1073741825); f.write("x"); f.close(); f.open();
println(f.length);
f.read();

// Directory: the folder's name, listings, searches with their masks and order, making,
// removing and emptying it (answered from objects_directory.answers), the name functions;
// then every error.
var here = new Directory().dirname;
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }
function touch(name) { var f = new File(name); f.open("w"); f.write(name); f.close(); }
function list(d) {
  var out = "";
  for (var n = d.findFirst(); !isNull(n); n = d.findNext()) out += n + " ";
  return out;
}

show("dirname ends in /", here.substring(here.length - 1));
show("Directory.dirname", Directory.dirname == here);
var d = new Directory("tree/sub/../sub");
show("new Directory(tree/sub/../sub)", d.dirname);
show("exists before make", d.exists());
show("make", d.make());
show("make again", d.make());
show("exists", d.exists());
d.dirname = "tree";
show("dirname = tree", d);
show("path", d.path);
touch("tree/b.txt"); touch("tree/A.TXT"); touch("tree/noext"); touch("tree/.hidden"); touch("tree/表.dat");
new Directory("tree/Sub2").make(); new Directory("tree/.git").make();
show("files", d.files.commaText);
show("directories", d.directories.commaText);
show("findFiles(*.txt)", d.findFiles("*.txt").commaText);
show("findFiles(?.*)", d.findFiles("?.*").commaText);
show("findFiles(*.)", d.findFiles("*.").commaText);
show("findFiles(no*.*)", d.findFiles("no*.*").commaText);
show("findFiles(*.zip)", d.findFiles("*.zip").count);

// Searches: "." and ".." first, then names by their bytes.
show("findFirst .. findNext", list(d));
show("findFirstFile(*.txt)", d.findFirstFile("*.txt"));
show("findNext", d.findNext());
show("findNext at the end", d.findNext());
show("findNext after the end", d.findNext());
show("findFirstFile(*.zip)", d.findFirstFile("*.zip"));
show("findFirstDir", d.findFirstDir());
var dirs = "";
for (var n = d.findNextDir(); !isNull(n); n = d.findNextDir()) dirs += n + " ";
show("findNextDir ...", dirs);
d.findFirst();
var files = "";
for (var n = d.findNextFile(); !isNull(n); n = d.findNextFile()) files += n + " ";
show("findNextFile ...", files);
show("findClose", d.findClose());

// Names.
show("includePathDelimiter(a)", d.includePathDelimiter("a"));
show("includePathDelimiter(a\\)", d.includePathDelimiter("a\\"));
show("includePathDelimiter(表)", d.includePathDelimiter("表"));
show("excludePathDelimiter(a/)", d.excludePathDelimiter("a/"));
show("excludePathDelimiter(表)", d.excludePathDelimiter("表"));
show("excludePathDelimiter()", d.excludePathDelimiter());
show("expandUNCFilename(x/../y)", d.expandUNCFilename("x/../y"));
show("expandUNCFilename()", d.expandUNCFilename());
show("exists(tree/b.txt)", d.exists("tree/b.txt"));
show("renameTo", d.renameTo("other"));
show("dirname after renameTo", d.dirname);
d.changeTo();
show("changeTo: a new Directory", new Directory().dirname);
d.changeTo("..");
show("changeTo(..)", new Directory().dirname);
d.changeTo("no such folder");
show("changeTo a missing folder", new Directory().dirname);

// clear asks first: answered No nothing goes; Yes with false deletes, by default it trashes.
// (Operands of + are evaluated right to left: one call a statement.)
function counts(d) { var files = d.files.count; return files + " files, " + d.directories.count + " folders"; }
d.clear(false);
show("clear(false) answered No", counts(d));
d.clear(false);
show("clear(false) answered Yes", counts(d));
var t = new Directory("trashed");
t.make();
touch("trashed/one.txt");
new Directory("trashed/inner").make();
touch("trashed/inner/two.txt");
t.clear();
show("clear() answered Yes", counts(t));
var trash = new Directory("data/Trash/files");
show("trash files", trash.files.commaText);
show("trash folders", trash.directories.commaText);
show("trashed content", new File("data/Trash/files/inner/two.txt").exists());
show("trash info", new Directory("data/Trash/info").files.commaText);
show("clear of an empty folder asks nothing", t.clear(false).dirname);
show("remove", t.remove());
show("removed", t.exists());
//--- next run ---
var f = new File("a file"); f.open("w"); f.close();
new Directory("a file/below").make();
//--- next run ---
new Directory("").make();
//--- next run ---
new Directory("missing").remove();
//--- next run ---
var d = new Directory("full"); d.make(); var f = new File("full/x"); f.open("w"); f.close(); d.remove();
//--- next run ---
new Directory().findNext();
//--- next run ---
var d = new Directory(); d.findFirstFile("*.none"); d.findNextDir();
//--- next run ---
var d = new Directory(); d.findFirst(); d.findClose(); d.findNextFile();

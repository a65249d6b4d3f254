// Dialog: the file and folder dialogs through the UI services, answered from
// objects_dialog.answers; cancelled dialogs give null, openFiles an empty list.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }

var d = new Dialog(" Text|*.txt;*.LOG ", "All|*.*");
show("filters", d.filters.count + " " + d.filters.commaText);
show("openFile cancelled", d.openFile("Open"));
show("openFile", d.openFile("Open", "a.txt"));
show("openFile ok as shown", d.openFile("Open", "shown.txt"));
var files = d.openFiles();
show("openFiles cancelled", files.count + " " + files);
files = d.openFiles("Several");
show("openFiles", files.count + " " + files.commaText);
show("saveFile as shown", d.saveFile("Save", "out.txt"));
show("saveFile closed", d.saveFile());
show("openFolder at the current folder", d.openFolder("Folder"));
show("openFolder(title, folder) cancelled", d.openFolder("Folder", "/tmp"));
d.filters.clear();
show("Dialog.openFile without filters", Dialog.openFile());

// Directory.clear asks "Confirm Delete": answered cancel, with the close box, and with no
// answer left, each means No and every file stays. A Yes/No message box closed the same
// ways answers No (7); answered 6 (Yes) the folder is emptied.
function touch(name) { var f = new File(name); f.open("w"); f.write(name); f.close(); }
function left() { var d = new Directory("victim"); return d.files.count + d.directories.count; }
var d = new Directory("victim");
d.make();
touch("victim/a.txt"); touch("victim/b.txt");
new Directory("victim/sub").make();
touch("victim/sub/c.txt");
println("before: " + left());
d.clear(false);
println("cancel: left " + left());
d.clear(false);
println("close: left " + left());
println("msgBox cancel: " + msgBox("Delete?", 4));
println("msgBox close: " + msgBox("Delete?", 4));
d.clear(false);
println("yes: left " + left());
touch("victim/d.txt");
println("unanswered msgBox: " + msgBox("Delete?", 4 + 0x20));
d.clear(false);
println("unanswered clear: left " + left());

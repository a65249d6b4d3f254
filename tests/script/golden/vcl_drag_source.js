// Drags out of a form: offscreen a drag ends at once; the arguments are checked first.
var f = new VCLForm();
var s = new Strings();
s.add("vcl_drag_source_a.txt");
var file = new File("vcl_drag_source_a.txt"); file.open("w"); file.write("x"); file.close();
f.doDragDropFiles(".", s);
f.doDragDropFiles("vcl_drag_source_a.txt");
f.doDragDropFiles("missing.txt");
f.doDragDropText("text");
println("drags ended");
try { f.doDragDropText(); } catch (e) { println("doDragDropText(): " + e); }
f.doDragDropFiles();

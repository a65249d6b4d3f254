// The dragging end of a drag to another program: a form at (300, 0), 200 x 200, that drags
// the file named by the second argument, in the folder given by the first, when the mouse
// goes down on it. The drop target reads the names from this process after the drag has
// returned here, so the run ends only when the file "done" shows up in that folder.
var draggedFolder = arguments[0];
var draggedFile = arguments[1];
var f = new VCLForm();
f.Caption = "Kestrin drag form";
f.setBounds(300, 0, 200, 200);
var doneWatch = new VCLTimer();
doneWatch.Enabled = false;
doneWatch.Interval = 50;
doneWatch.onTimer = function (sender) {
  if (File.exists(draggedFolder + "/done")) {
    doneWatch.Enabled = false;
    terminate();
  }
};
f.onMouseDown = function (sender, button, shift, x, y) {
  println("mouse down " + button);
  f.doDragDropFiles(draggedFolder, draggedFile);
  println("drag over");
  doneWatch.Enabled = true;
};
f.show();
eventLoop();

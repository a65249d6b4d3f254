// The dropping end of a drag from another program: a form at (300, 0), 200 x 200, that
// takes drops, prints what it gets and where, and ends the run.
var f = new VCLForm();
f.Caption = "Kestrin drop form";
f.setBounds(300, 0, 200, 200);
f.acceptDrop = true;
f.onDragDropFiles = function (sender, x, y, names) {
  println("files " + names.count + ", on the form " + (x >= 300 && x < 500 && y >= 0 && y < 200));
  for (var i = 0; i < names.count; i++) println("dropped " + names[i]);
  terminate();
};
f.onDragDropText = function (sender, x, y, text) {
  println("text " + text);
  terminate();
};
f.show();
eventLoop();

// CheckListBox.execute: a width or height the script gives is the dialog's client size, at
// least 200 pixels; 0, a negative number or none leaves the designed size (the answered
// dialog reports 0 for it). The sizes the dialog was asked for are in
// vcl_check_list_size.dialogs; each row here is a width and a height.
var sizes = [[100, 100], [199, 350], [200, 201], [640, 480], [0, 300], [-5, 0]];
var c = new CheckListBox();
c.items.add("a");
for (var i = 0; i < sizes.length; i++) {
  var w = sizes[i][0], h = sizes[i][1];
  println(w + "x" + h + ": " + c.execute("size", w + "x" + h, 0, w, h));
}
println("no size: " + c.execute("size", "none", 0));

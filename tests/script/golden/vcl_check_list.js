// CheckListBox: marks set by the script and by the dialog (answered from
// vcl_check_list.answers); marks stay with their lines when lines move.
function marks(c) {
  var s = "";
  for (var i = 0; i < c.count; i++) s += (i ? " " : "") + c.items[i] + (c.getChecked(i) ? "+" : "-");
  return s;
}

var c = new CheckListBox();
c.items.add("a"); c.items.add("b"); c.items.add("c");
println("start: " + marks(c) + " count " + c.count);
println("setChecked returns the box: " + (c.setChecked(1, true) == c));
c.setChecked(2);
println("setChecked with one argument does nothing: " + marks(c));
println("getChecked without an argument: " + c.getChecked());

// The dialog: OK with the marks shown, OK with items 0 and 2, Cancel, close.
var ok = c.execute("Pick", "Choose lines");
println("ok: " + ok + " " + marks(c));
ok = c.execute("", "", 1, 100, 100);
println("ok:0,2: " + ok + " " + marks(c));
ok = c.execute();
println("cancel: " + ok + " " + marks(c));
ok = c.execute("Pick");
println("close: " + ok + " " + marks(c));

// Lines that move keep their marks; new lines start unchecked.
c.items.add("d");
println("add: " + marks(c));
c.items.insert(0, "z");
println("insert(0): " + marks(c));
c.items.delete(1);
println("delete(1): " + marks(c));
c.items.sort();
println("sort: " + marks(c));
c.items[0] = "x";
println("line rewritten in place: " + marks(c));
c.items.clear();
println("clear: count " + c.count);
ok = c.execute();
println("empty box, ok: " + ok + " count " + c.count);
c.items.add("a");
c.getChecked(c.count);
//--- next run ---
var c = new CheckListBox();
c.items.add("a");
c.setChecked(-1, true);
//--- next run ---
// The items outlive their box.
var kept = (function () { var c = new CheckListBox(); c.items.add("a"); return c.items; })();
kept.add("b");
kept.insert(0, "c");
println("kept " + kept.commaText);

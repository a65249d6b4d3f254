// The sheet test object: properties, a parameterised property through its parent, the
// default member, method argument order, events to prefixed functions, and a failing
// call that ends the run.
function sheet_Changed(text, length) {
  println("Changed(" + text + ", " + length + ")");
}
var sheet = new ActiveXObject("KestrinTest.Sheet", "sheet_");
println(sheet.Name + " " + sheet.Value);
sheet.Name = "Results";
sheet.Value = 1.5;
println(sheet.Name + " " + sheet.Value);
sheet.Cells = [1, 2, 7];
sheet.Cells = [3, 4, "8"];
println(sheet.Cells(1, 2) + " " + sheet.Cells(3, 4) + " " + sheet.Cells(2, 1));
println(sheet("k") + " " + sheet["k"] + " " + sheet.Item(5));
println(sheet.Concat("first", "second", "third"));
println((typeof sheet) + " " + (typeof sheet.Concat) + " " + (typeof sheet.disp));
var names = "";
for (var n in sheet) names += n + " ";
println(names);
sheet.Fire("hello");
WScript.DisconnectObject(sheet);
sheet.Fire("not delivered");
WScript.ConnectObject(sheet, "sheet_");
sheet.Fire("again");
// A Date goes to automation as its local day count (days since 1899-12-30).
sheet.Value = new Date(1900, 0, 1, 12, 0, 0);
println(sheet.Value);
var other = new ActiveXObject(sheet.disp);
other.Name = "Shared";
println(sheet.Name);
// A bare interface value reads its members through a wrapper of its own.
var bare = sheet.disp;
println(bare.Name + " " + bare.Concat(1, 2, 3));
try {
  sheet.Missing;
} catch (e) {
  println("caught " + e);
}
sheet.Concat("only one");
println("not reached");

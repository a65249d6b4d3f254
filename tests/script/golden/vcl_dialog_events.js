// The open, save and font dialogs' events, the dialogs answered from the answers file:
// "onShow" and "onClose" around each run, the folder and selection moves before a choice,
// "onCanClose" keeping the dialog open so that it asks again, a cancel leaving FileName as
// it was, and the font dialog's Apply (its button there only with an "onApply" handler).
// Operands of "+" are evaluated right first: each result goes into a variable first.
function events(o) { var e = o.getEvents(); var out = []; for (var i = 0; i < e.length; i++) out.push(e[i]); return out.sort().join(" "); }
var d = new VCLOpenDialog();
println("open dialog events: " + events(d));
d.Title = "Pick";
d.InitialDir = "/data";
d.FileName = "start.img";
d.onShow = function (s) { println("onShow " + s.Title); };
d.onClose = function (s) { println("onClose " + s.FileName); };
d.onFolderChange = function (s) { println("onFolderChange"); };
d.onSelectionChange = function (s) { println("onSelectionChange " + s.FileName); };
d.onCanClose = function (s, canClose) {
  println("onCanClose " + s.FileName);
  canClose.bool = s.FileName.indexOf("bad") < 0;
};
var chosen = d.execute();
println("execute: " + chosen + " " + d.FileName);
chosen = d.execute();
println("execute: " + chosen + " " + d.FileName);
d.onCanClose = function (s, canClose) { println("onCanClose refuses " + s.FileName); canClose.bool = false; };
chosen = d.execute();
println("refused, then cancelled: " + chosen + " " + d.FileName);

var s = new VCLSaveDialog();
s.FileName = "out.img";
s.onCanClose = function (sender, canClose) { println("save onCanClose " + sender.FileName + " " + canClose.bool); };
chosen = s.execute();
println("save with the name shown: " + chosen + " " + s.FileName);

var f = new VCLFontDialog();
println("font dialog events: " + events(f));
f.Font.Name = "Courier";
f.Font.Size = 10;
f.onShow = function (sender) { println("font onShow " + sender.Font.Name); };
f.onClose = function (sender) { println("font onClose " + sender.Font.Name); };
chosen = f.execute();
println("without onApply: " + chosen + " " + f.Font.Name + " " + f.Font.Size);
f.onApply = function (sender, wnd) { println("onApply " + sender.Font.Name + " " + sender.Font.Size + " " + (wnd != 0)); };
chosen = f.execute();
println("applied, then chosen: " + chosen + " " + f.Font.Name + " " + f.Font.Size);
chosen = f.execute();
println("applied, then cancelled: " + chosen + " " + f.Font.Name + " " + f.Font.Size);

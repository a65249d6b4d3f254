// A form's life events: "onCreate" once a description is read into it (its children are
// members by then), "onActivate" and "onDeactivate" as a second form takes the activation
// and gives it back, "onDestroy" on release and on a close with caFree (the wrapper stays
// and answers "VCL is null"), none for a form the script lets go, and none after the
// handler is removed. (Operands of "+" are evaluated right first: results go into
// variables before they are printed.)
var desc = "object Loaded: TForm\n  object Button1: TButton\n    Caption = 'OK'\n  end\nend\n";
var f = new VCLForm();
f.onCreate = function (s) { println("onCreate " + s.Name + ", Button1 " + s.Button1.Caption); };
f.loadFromText(desc);
try { f.loadFromText("object Bad: TForm\n  Nonsense = 1\nend\n"); } catch (e) { println("bad description: no onCreate"); }

f.onActivate = function (s) { println("onActivate " + s.Caption); };
f.onDeactivate = function (s) { println("onDeactivate " + s.Caption); };
f.Caption = "first";
var g = new VCLForm();
g.Caption = "second";
g.onActivate = f.onActivate;
g.onDeactivate = f.onDeactivate;
f.show();
doEvents();
g.show();
doEvents();
f.show();
doEvents();
f.onActivate = null; f.onDeactivate = null; g.onActivate = null; g.onDeactivate = null;

f.onDestroy = function (s) { println("onDestroy " + s.Caption + " " + (s === f)); };
f.release();
println("release returned; not yet freed: " + f.Caption);
doEvents();
try { f.show(); } catch (e) { println(e); }

var h = new VCLForm();
h.Caption = "closed with caFree";
h.onClose = function (s, action) { action.text = "caFree"; };
h.onDestroy = function (s) { println("onDestroy " + s.Caption); };
h.show();
h.close();
doEvents();
try { h.show(); println("still there"); } catch (e) { println(e); }

var k = new VCLForm();
k.onDestroy = function () { println("not called: the script let the form go"); };
k = null;
var m = new VCLForm();
m.onDestroy = function () { println("not called: no handler any more"); };
m.onDestroy = null;
m.release();
doEvents();
println("end");

// DynaCall's window messages reach a script's forms and controls by their handle, the main
// form and the application window: the text messages in code page 932, WM_GETTEXT bounded
// by the buffer passed, WM_CLOSE sent and posted (posted ones arrive with the events), and
// nothing for a handle whose control is gone. Operands of "+" are evaluated right first:
// each result goes into a variable before it is printed.
var f = new VCLForm();
f.Caption = "Form";
var e = new VCLEdit(f);
e.Text = "edit text";
var h = f.handle, eh = e.handle;
println("handles: " + (h != 0 && eh != 0 && h != eh));
var n = DynaCall.sendMessage(h, 14, 0, 0);
println("WM_GETTEXTLENGTH of the form: " + n + ", perform says " + f.perform(14, 0, 0));
n = DynaCall.sendMessage(h, 12, 0, "New caption", "ls");
println("WM_SETTEXT of the form: " + n + " " + f.Caption);
n = DynaCall.sendMessage(eh, 12, 0, "日本語", "ls");
println("WM_SETTEXT of the edit: " + n + " " + e.Text);
n = DynaCall.sendMessage(eh, 14);
println("WM_GETTEXTLENGTH of the edit, CP932 bytes: " + n);
var buf = new Struct("t:64");
n = DynaCall.sendMessage(eh, 13, 64, buf, "ls");
println("WM_GETTEXT into a Struct: " + n + " " + buf.t);
var small = new Struct("t:5");
n = DynaCall.sendMessage(eh, 13, 100, small, "ls");
println("WM_GETTEXT into 5 bytes: " + n + " " + small.t);
n = DynaCall.sendMessage(eh, 13, 100, "ab", "ls");
println("WM_GETTEXT into a short text: " + n);
println("no window: " + DynaCall.sendMessage(2, 14) + " " + DynaCall.postMessage(2, 16));

f.onClose = function (s, action) { println("onClose " + action); };
f.show();
var posted = DynaCall.postMessage(h, 16);
println("WM_CLOSE posted: " + posted + ", visible before the events: " + f.Visible);
doEvents();
println("visible after: " + f.Visible);
f.show();
n = DynaCall.sendMessage(h, 16);
println("WM_CLOSE sent: " + n + " " + f.Visible);

var main = mainFormHandle, app = applicationHandle;
println("mainFormHandle and applicationHandle: " + (main != 0) + " " + (app != 0) + " " + (main != app));
n = DynaCall.sendMessage(app, 12, 0, "Kestrin run", "ls");
var app_title = new Struct("t:64");
DynaCall.sendMessage(app, 13, 64, app_title, "ls");
println("the application's title set and read: " + n + " " + app_title.t);
var title = new Struct("t:64");
DynaCall.sendMessage(main, 13, 64, title, "ls");
println("the main form's text, its caption: " + (title.t.length == DynaCall.sendMessage(main, 14)));

var gone = new VCLEdit(f);
var gh = gone.handle;
n = DynaCall.sendMessage(gh, 12, 0, "x", "ls");
gone = null;
println("a freed control's handle: " + n + " then " + DynaCall.sendMessage(gh, 14));

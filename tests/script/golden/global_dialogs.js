// Global: the dialogs through the UI services, answered from global_dialogs.answers:
// OK as shown, typed text, Cancel giving null, the close box, message-box codes.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : v) + " (" + (typeof v) + ")"); }
show("prompt ok", prompt("Name?", "default"));
show("prompt typed", prompt("Name?", "default", "*", "Caption", 50));
show("prompt cancel", prompt("Name?"));
show("prompt close", prompt("Name?"));
show("textArea typed", textArea("Notes", "one\ntwo", "Caption", 300, 100));
show("textArea ok", textArea("Notes", "kept"));
show("textArea cancel", textArea("Notes"));
show("confirm ok", confirm("Sure?"));
show("confirm cancel", confirm("Sure?"));
show("confirm close", confirm("Sure?", "Caption"));
show("msgBox yes/no/cancel answered 6", msgBox("Save?", 3 + 0x20));
show("msgBox ok-only closed", msgBox("Note"));
show("msgBox ok/cancel closed", msgBox("Go?", 1));
show("msgBox yes/no closed (default button 2)", msgBox("Go?", 4 + 0x100));
show("alert", nameOf(alert("Done", "Caption")));
// The answers have run out: every dialog is closed from here on.
show("prompt after the last answer", prompt("More?"));
show("confirm after the last answer", confirm("More?"));
show("prompt() is undefined", isUndefined(prompt()));

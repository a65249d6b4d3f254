// Win32, Mutex, Keyboard, Mouse and Clipboard: the global instances, starting
// programs, the tick count, mutexes between objects, what a window-less host reports of
// keys, buttons and the clipboard; then every error.
function show(label, v) { println(label + " = " + (isNull(v) ? "null" : isUndefined(v) ? "undefined" : v)); }
// Waits (at most 5 s) for a file that a started program writes.
function appears(name) {
  for (var i = 0; i < 250 && !File.exists(name); i++) Win32.sleep(20);
  return File.exists(name);
}

show("Win32.sleep(1) returns Win32", Win32.sleep(1) == Win32);
var t0 = Win32.getTickCount();
Win32.sleep(30);
var t1 = Win32.getTickCount();
show("getTickCount is a whole number", t0 >= 0 && t0 == Math.floor(t0));
show("30 ms later", t1 - t0 >= 30);
show("winExec(/bin/sh -c ...)", Win32.winExec('/bin/sh -c "echo started > started.txt"'));
show("the program ran", appears("started.txt"));
show("winExec(a missing program)", Win32.winExec("/no/such/program --flag"));
show("winExec(an empty line)", Win32.winExec(""));
show("shellExecute(open, /bin/sh, -c ..., a missing folder)",
     Win32.shellExecute("open", "/bin/sh", '-c "pwd > opened.txt"', "sub"));
new Directory("sub").make();
show("shellExecute(open, /bin/sh, -c ..., folder)", Win32.shellExecute("Open", "/bin/sh", '-c "pwd > opened.txt"', "sub"));
show("it ran in the folder", appears("sub/opened.txt"));
var f = new File("sub/opened.txt");
for (var i = 0; i < 250 && f.length == 0; i++) Win32.sleep(20);
f.open();
var pwd = f.readln();
show("pwd ends in /sub", pwd.substring(pwd.length - 4) == "/sub");
f.close();
show("shellExecute(\"\", sh, -c ...)", Win32.shellExecute("", "sh", '-c "echo > shell.txt"'));
show("the shell ran", appears("shell.txt"));
show("shellExecute(open, a document) without a desktop", Win32.shellExecute("open", "notes.txt"));
show("shellExecute(print, /bin/sh)", Win32.shellExecute("print", "/bin/sh"));

var m = new Mutex("kestrin golden mutex");
show("a new mutex existed", m.existed);
show("timeout", m.timeout);
var m2 = new Mutex("kestrin golden mutex");
show("a second one existed", m2.existed + " " + m2.exists());
show("lock", m.lock() == m);
m2.timeout = 50;
show("tryLock of the same name by the same thread", m2.tryLock());
m2.unlock();
show("unlock", m.unlock() == m);
show("the global instance", Mutex.existed + " " + Mutex.tryLock());

show("Keyboard.isDown(A)", Keyboard.isDown("A"));
show("Keyboard.isDown(65)", Keyboard.isDown(65));
show("Keyboard.isDown(0)", Keyboard.isDown(0));
show("Keyboard.isDown()", Keyboard.isDown());
show("shift, ctrl, alt", Keyboard.shift + " " + Keyboard.ctrl + " " + Keyboard.alt);
show("Mouse buttons", Mouse.lbutton + " " + Mouse.mbutton + " " + Mouse.rbutton);
show("Mouse position", Mouse.x + " " + Mouse.y);

show("Clipboard.hasText()", Clipboard.hasText());
Clipboard.asText = "日本語 text";
show("Clipboard.hasText() after asText =", Clipboard.hasText());
show("Clipboard.asText", Clipboard.asText);
show("Clipboard", Clipboard);

//--- next run ---
Win32.winExec();
//--- next run ---
Win32.shellExecute("open");

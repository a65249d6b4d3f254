// Quit ends the run with its code; Echo shows one message box (see wscript_quit.answers).
WScript.Echo(1, 2);
WScript.Echo("tail  \t\r\n");
WScript.Echo();
println("before");
try { WScript.CreateObject("Scripting.FileSystemObject"); } catch (e) { println(e); }
WScript.ConnectObject(new Object(), "on_");
WScript.DisconnectObject("x");
WScript.Quit(3);
println("after");

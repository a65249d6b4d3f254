// Global: output and its return values, kind tests, number parsing, versions, eval,
// sleep and the event-loop flag, the published properties.
// Text of any value; "+" refuses undefined, NaN and the infinities.
function text(v) {
  if (isUndefined(v)) return "undefined";
  if (typeof(v) == "number") return v.toString();
  return "" + v;
}
function show(label, v) { println(label + " = " + text(v) + " (" + (typeof v) + ")"); }

// print writes its arguments one after another; println ends each with a line break and
// writes nothing without one; both give back their last argument.
var r = print(1, 2);
println();
show("print(1, 2)", r);
r = println("a", "b");
show("println(a, b)", r);
show("println()", println());
show("write(x)", write("x"));
println("");
show("writeln(y)", writeln("y"));

// Kind tests.
show("isNaN(abc)", isNaN("abc"));
show("isNaN(0/0)", isNaN(0 / 0));
show("isNaN()", isNaN());
show("isFinite(12)", isFinite("12"));
show("isFinite()", isFinite());
show("isFinite(1/0)", isFinite(1 / 0));
show("isFinite(true)", isFinite(true));
show("isNull(null)", isNull(null));
show("isNull()", isNull());
show("isUndefined()", isUndefined());
show("isUndefined([].pop())", isUndefined([].pop()));
show("nameOf([])", nameOf([]));
show("nameOf(1)", nameOf(1));
show("nameOf(new Math())", nameOf(new Math()));

// parseInt rounds doubles ties to even and reads strings as whole numbers only.
var ints = [2.5, 3.5, -2.5, "3.7", "12", " 12", "$10", "0x1F", "12abc", "abc", true, 1e10];
for (var i = 0; i < ints.length; i++) show("parseInt(" + ints[i] + ")", parseInt(ints[i]));
var floats = ["3.7", "1e3", " 2.5 ", "12abc", 7, false];
for (var i = 0; i < floats.length; i++) show("parseFloat(" + floats[i] + ")", parseFloat(floats[i]));

// Versions.
show("scriptEngine", scriptEngine());
show("scriptEngineBuildVersion", scriptEngineBuildVersion());
show("scriptEngineMajorVersion", scriptEngineMajorVersion());
show("scriptEngineMinorVersion", scriptEngineMinorVersion());
show("scriptEngineVersion", scriptEngineVersion());
// The kinds: 0 is an integer, 3.9 a double (=== compares kinds).
show("major === 0", scriptEngineMajorVersion() === 0);
show("minor === 3.9", scriptEngineMinorVersion() === 3.9);

// eval sees the caller's variables.
var x = 41;
show("eval(x + 1)", eval("x + 1"));

// sleep and alert give back the Global object; a negative time does not wait.
show("sleep(-1000) === Global", sleep(-1000) === Global);
show("sleep() === Global", sleep() === Global);
show("alert(hi) === Global", alert("hi") === Global);

// The event-loop flag, and the published properties.
show("terminated", terminated);
eventLoop();
show("terminated after eventLoop", Global.terminated);
terminate();
show("terminated after terminate", terminated);
show("platform", platform);
show("arguments.length", arguments.length);
show("finalizer.length", finalizer.length);
show("applicationHandle and mainFormHandle are windows", applicationHandle != 0 && mainFormHandle != 0 && applicationHandle != mainFormHandle);
show("isConsole", isConsole());
show("getProperties", Global.getProperties());

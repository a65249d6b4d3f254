// Lines written before a native call ends the process.
println("before the call");
var dc = new DynaCall();
dc.register("libc.so.6", "abort");
print("calling");
dc.abort();
println("not reached");

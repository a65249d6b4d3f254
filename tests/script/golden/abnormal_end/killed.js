// Lines written before the process is killed (SIGKILL: nothing in the process runs after).
println("first");
print("second, without a line end");
var dc = new DynaCall();
dc.register("libc.so.6", "getpid", "r=l");
dc.register("libc.so.6", "kill", "i=ll", "r=l");
dc.kill(dc.getpid(), 9);
println("not reached");

// exit ends the run with its code; nothing after it runs.
println("before");
exit(3);
println("after");

// Nothing is hoisted: a function exists only after its statement ran.
println("before");
later();
function later() { println("later"); }

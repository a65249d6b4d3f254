// A top-level return of the string 7 makes the run return 7.
println("returning");
return "7";

// An empty pattern raises when it is used: split("") does not split at every character.
println("a,b".split(",").length);
println("abc".split("").length);

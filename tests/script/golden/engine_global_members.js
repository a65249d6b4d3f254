// Members given to the Global object are visible as names, like its functions.
Global.answer = 42;
println(answer);
println(Global.hasKey("println"), typeof Global.println);

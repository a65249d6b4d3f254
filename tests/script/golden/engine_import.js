// import Name makes a namespace; import Name.* splices the library's text.
import golden_lib;
println(golden_lib.greeting, golden_lib.twice(21));
golden_lib.greeting = "changed";
println(golden_lib.greeting);
import golden_lib.*;
println(twice(5));

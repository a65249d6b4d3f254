// A pattern error is no script error: try does not catch it, and the run ends with its
// report line. The pattern compiles only when first used.
var re = new RegExp("a**");
println("made " + re.source);
try {
  re.test("aaa");
} catch (e) {
  println("caught " + e);
}
println("not reached");

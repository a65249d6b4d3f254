// Linear patterns run over a megabyte; exponential backtracking ends quickly, with no match
// or with the match budget's error, which ends the run.
var ab = "ab";
while (ab.length < 1000000) ab = ab + ab;
var whole = /^(ab)*$/.test(ab);
println(whole + " " + RegExp.lastMatch.length + " " + RegExp.$1);
println(/(a+)+b/.test("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"));
println(/^(\w+\s?)+$/.test("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa!"));
println("not reached");

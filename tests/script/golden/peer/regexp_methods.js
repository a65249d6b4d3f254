// Regular expressions on the common subset: replace with templates and /g, counted global
// matches, splits at a literal, test, and word boundaries in literals.
println("2024-01-15".replace(/(\d+)-(\d+)-(\d+)/, "$3.$2.$1"));
println("a1b22c333".replace(/\d+/g, "<$&>"));
println("one two three".replace(/(\w+)/g, "[$1]"));
println("aaa".replace(/a/, "b"));
println("x".replace(/y/g, "z"));
println("The Cat sat on the cat mat".replace(/cat/gi, "dog"));
println("a1b22c333d".match(/\d+/g).length);
println("no digits".match(/\d/g));
println("alpha,beta,gamma".split(/,/).length);
println("alpha,beta,,gamma".split(/,/));
println("a, b ,c".split(/\s*,\s*/));
println(/^\d{3}-\d{4}$/.test("555-1234"));
println(/^\d{3}-\d{4}$/.test("5555-1234"));
println(/\bcat\b/.test("the cat sat"));
println(/\bcat\b/.test("concatenate"));
println(/\Bcat\B/.test("concatenate"));
println("cat concat cats".replace(/\bcat\b/g, "dog"));
println("x-ray and x ray".match(/\bx\b/g).length);
println(/[\b]/.test("a\bb"));
var re = /(\d+)/g;
var found = "";
var m = "10 apples and 25 pears".match(re);
for (var i = 0; i < m.length; i++) found = found + "[" + m[i] + "]";
println(found);
println("John Smith".replace(/(\w+)\s(\w+)/, "$2, $1"));
println("tab\there".search(/\t/));
println("abc".search(/z/));

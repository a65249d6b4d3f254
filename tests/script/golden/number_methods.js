// Number and Boolean: what they hold, radix texts, fixed and exponent layouts, the
// constants, and NaN and the infinities through every method.
function show(label, v) { println(label + " = [" + v.toString() + "]"); }

var n = new Number("12");
show("Number(\"12\") holds", typeof n.valueOf());
show("Number(\"12\").int", n.int);
show("Number(\"abc\").valueOf()", new Number("abc").valueOf());
show("Number().valueOf()", new Number().valueOf());
show("Number(2.5).int", new Number(2.5).int);
var c = new Number(0);
c.asChar = "A";
show("asChar = A", c.valueOf());
show("asChar", c.asChar);
c.number = 1.5;
show("number = 1.5", c.valueOf());
c.int = 7.5;
show("int = 7.5", c.valueOf());
show("toChar()", new Number(66).toChar());

var radixes = [[255, 16], [255, 2], [255, 8], [255, 10], [0, 2], [-1, 16], [-1, 2], [5, 3], [2.5, 16]];
for (var i = 0; i < radixes.length; i++)
  show("(" + radixes[i][0] + ").toString(" + radixes[i][1] + ")", new Number(radixes[i][0]).toString(radixes[i][1]));

var layouts = [[3.14159, 2], [3.14159, 0], [2.5, 0], [0.125, 2], [-0.001, 2], [1 / 3, 20], [123456789012345678, 2],
               [1e20, 1], [12345.678, -1], [0, 3]];
for (var i = 0; i < layouts.length; i++) {
  var v = new Number(layouts[i][0]), d = layouts[i][1];
  show(layouts[i][0] + " toFixed(" + d + ") toPrecision toExponential",
       v.toFixed(d) + " " + v.toPrecision(d) + " " + v.toExponential(d));
}
show("toFixed()", new Number(2.5).toFixed());
show("toExponential()", new Number(12345.678).toExponential());
show("toExponential() of 0.00012", new Number(0.00012).toExponential());
show("toFixed(1000)", new Number(1.5).toFixed(1000));

// NaN and the infinities keep their kind inside a Number.
var specials = [0 / 0, 1 / 0, -1 / 0];
for (var i = 0; i < specials.length; i++) {
  var s = specials[i];
  show(s.toString() + " methods", s.toFixed(2) + " " + s.toExponential(2) + " " + s.toString(16) + " " + s.toChar().length);
}
show("constants", [Number.MAX_VALUE, Number.MIN_VALUE, Number.NaN, Number.POSITIVE_INFINITY, Number.NEGATIVE_INFINITY]);
show("MAX_VALUE is 1.7e308", Number.MAX_VALUE == 1.7e308);

var b = new Boolean("x");
show("Boolean(\"x\")", b);
show("Boolean().bool", new Boolean().bool);
b.bool = 0;
show("bool = 0", b.valueOf());
show("Boolean(true) + 1", new Boolean(true) + 1);
show("true.toString()", true.toString());

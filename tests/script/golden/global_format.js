// Global: format and its aliases through the runtime's Format, formatFloat pictures, and
// the caller's argument list left whole.
var cases = [
  ["%5.2f|%s|%d", 3.14159, "x", 7],
  ["%s", true],
  ["%s|%s|%s|%s", null, [1, 2], false, "1.5"],
  ["%d", 42], ["%5d|%-5d|", 42, 42], ["%.3d", -5], ["%05d", 7], ["%4.d", 7],
  ["%u", -1], ["%x", 255], ["%x", -1], ["%.4x", 255], ["%p", 255],
  ["%f", 2.5], ["%8.4f", 3.14159265], ["%.0f", 2.5], ["%.2f", 0.125], ["%.2f", -0.001],
  ["%e", 12.5], ["%.3e", 12.5], ["%g", 0.1], ["%g", 1e20], ["%n", 1234567.891],
  ["%m", 1234.5], ["%.2m", -1234.5],
  ["%s", "abc"], ["%5s|%-5s|%.2s", "abc", "abc", "abcdef"],
  ["%*d|%-*d|", 4, 7, 3, 8], ["%1:s %0:s %s", "a", "b"], ["100%%"]
];
function formatted(c) {
  switch (c.length) {
    case 1: return format(c[0]);
    case 2: return format(c[0], c[1]);
    case 3: return sprintf(c[0], c[1], c[2]);
    case 4: return sprintf(c[0], c[1], c[2], c[3]);
    default: return format(c[0], c[1], c[2], c[3], c[4]);
  }
}
for (var i = 0; i < cases.length; i++) println(cases[i][0] + " -> [" + formatted(cases[i]) + "]");
// printf and printfln write the text and give it back.
var r = printf("printf %s|", "x");
println(r);
r = printfln("printfln %s", "y");
println(r);
println(isUndefined(format()));

// Numbers by picture: placeholders 0 and #, point, thousands, exponent, sections.
var pictures = [
  ["0.00", 3.14159], ["0.00", 0.125], ["0", 2.5], ["#.##", 0.5], ["0.##", 1],
  ["#,##0.00", 1234567.891], ["#,##0", -1234], ["000", 7], ["\"x\"0'y'", 5],
  ["0.00E+00", 1234.5], ["0.00e-0", 0.00012345], ["00.0E+0", 1234.5],
  ["0.00;(0.00)", -3.14159], ["0.00;(0.00);zero", 0], ["", 0.1], ["0.0", "2.25"]
];
for (var i = 0; i < pictures.length; i++)
  println("formatFloat(" + pictures[i][0] + ", " + pictures[i][1] + ") -> [" + formatFloat(pictures[i][0], pictures[i][1]) + "]");
println(isUndefined(formatFloat("0")));

// Missing date parts come from today; missing time parts are 0 once the day is given.
var now = new Date();
var a = new Date(2001, 11);
println(a.getUTCFullYear() + " " + a.getUTCMonth());
println(a.getUTCDate() == now.getUTCDate());
var b = new Date(2001, 11, 5);
println(b.getUTCHours() + b.getUTCMinutes() + b.getUTCSeconds() + b.getUTCMilliseconds());
var c = new Date(Date.parse("Mar 7"));
println(c.getUTCMonth() + " " + c.getUTCDate() + " " + (c.getUTCFullYear() == now.getFullYear()));
var t = new Date(Date.parse("10:20"));
println(t.getUTCHours() + " " + t.getUTCMinutes() + " " + (t.getUTCDate() == now.getDate()));

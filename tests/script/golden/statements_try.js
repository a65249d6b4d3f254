// catch gets the thrown value, or the error name for engine errors; finally always runs;
// a return in finally wins.
try { undefinedName; } catch (e) { println(e); }
try { null.x; } catch (e) { println(e); }
try { throw 5; } catch (e) { println(e + 1); }
try { throw; } catch (e) { println("[" + e + "]", typeof e); }
try { throw {code: 3}; } catch (e) { println(e.code); }
function f() { try { return 1; } finally { println("finally"); } }
println(f());
function g() { try { return 1; } finally { return 2; } }
println(g());
try { try { throw "in"; } finally { println("inner finally"); } } catch (e) { println("outer " + e); }
try { println("no catch"); } finally { println("only finally"); }
try throw 1; catch println("catch without variable");

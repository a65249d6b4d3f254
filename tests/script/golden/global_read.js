// Global: read takes characters (a double-byte character is one), readln a line, from
// global_read.stdin; without more input they raise "EFileError".
println("[" + read(3) + "]");
println("[" + readln() + "]");
println("[" + readln() + "]");
println("[" + read() + "]");
try { readln(); } catch (e) { println("caught " + e); }

// Comma, conditional, compound assignments on names, members and indexes, void, delete.
var a = (1, 2, 3);
println(a);
var b = 10;
b -= 3; b *= 2; b /= 7; println(b);
b = 7; b %= 4; b <<= 3; b >>= 1; b |= 1; b &= 13; b ^= 3; println(b);
var o = {v: 2};
o.v += 5; o.v *= 2; println(o.v);
var arr = [1, 2];
arr[1] -= 5; println(arr[1]);
arr[0]++; --arr[0]; ++arr[0]; println(arr[0]);
println(void (a = 5), a);
var big = 2147483647;
big++;
println(big);
println(typeof new Object(), nameOf(new Object()));
println(-(-2147483647 - 1));

// super.member is not supported.
class A { function f() { return super.x; } }
var a = new A();
a.f();

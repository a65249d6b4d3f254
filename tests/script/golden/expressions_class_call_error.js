// A class is not a function to call.
class A { var v; }
A();

// new of an unknown name.
var x = new NoSuchClass(1);

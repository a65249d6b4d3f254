// apply with a non-array second argument is a type error with the function's name.
function add(a, b) { return a + b; }
add.apply(null, 5);

// A modal form that nobody closes.
var f = new VCLForm();
println("modal");
f.showModal();
println("not reached");

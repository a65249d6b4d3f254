// LoadImageFileSelect opens the program's image dialog: the answers file chooses a name
// (ok:NAME) or cancels; the load reports either way and the script goes on.
println(Kestrin.LoadImageFileSelect());
Kestrin.LoadImageFileSelect();
println("done");

// An event loop that nothing ends.
var f = new VCLForm(true);
f.show();
eventLoop();

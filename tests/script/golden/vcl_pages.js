// Tab controls, page controls and tab sheets: tabs, pages and the active page from code
// (which fires neither onChanging nor onChange), the read-only tabs of a page control,
// indexing, the next-page search, hidden tabs and sheets freed or moved to another control.
function show(label, v) { println(label + " = " + v); }
var f = new VCLForm();
f.setBounds(0, 0, 400, 300);
var t = new VCLTabControl(f);
show("toString", t);
show("TabIndex of no tabs", t.TabIndex);
show("RowCount of no tabs", t.RowCount);
var tabs = t.tabs;
tabs.add("one");
tabs.add("two");
tabs.add("three");
show("tabs is one object", t.tabs === tabs);
show("Tabs.count through the native property", t.Tabs.count);
show("RowCount", t.RowCount);
t.onChanging = function () { println("onChanging (never from code)"); };
t.onChange = function () { println("onChange (never from code)"); };
t.TabIndex = 2;
show("TabIndex after TabIndex = 2", t.TabIndex);
t.TabIndex = 7;
show("TabIndex after TabIndex = 7", t.TabIndex);
show("tabRect(9)", t.tabRect(9));
show("a point on the first tab", t.indexOfTabAt(t.tabRect(0).left + 2, t.tabRect(0).top + 2));
show("its hit-test flags", t.getHitTestInfoAt(t.tabRect(0).left + 2, t.tabRect(0).top + 2));
show("hit test far below", t.getHitTestInfoAt(5, 5000));
show("hit test inside the client area", t.getHitTestInfoAt(50, 150));
var d = t.DisplayRect;
show("DisplayRect lies under the tabs", d.top >= t.tabRect(0).bottom && d.bottom <= t.Height);
try { t.indexOfTabAt(1); } catch (x) { show("indexOfTabAt(1)", x); }

var pc = new VCLPageControl(f);
pc.setBounds(0, 0, 300, 200);
show("PageCount of a new page control", pc.PageCount + " " + pc.ActivePageIndex + " " + pc.ActivePage);
var a = new VCLTabSheet(pc);
a.Caption = "Alpha";
var b = new VCLTabSheet();
b.Caption = "Beta";
b.PageControl = pc;
var c = new VCLTabSheet(pc);
c.Caption = "Gamma";
show("PageCount", pc.PageCount);
show("the first page is active", pc.ActivePageIndex + " " + (pc.ActivePage === a));
show("pc[1] is the sheet's wrapper", pc[1] === b && pc.pages(1) === b);
show("typeof pc[5]", typeof pc[5]);
show("b.PageControl", b.PageControl === pc);
show("b.PageIndex, b.TabIndex", b.PageIndex + " " + b.TabIndex);
show("tabs", pc.tabs.commaText);
pc.onChanging = function () { println("onChanging (never from code)"); };
pc.onChange = function () { println("onChange (never from code)"); };
a.onHide = function (s) { println("onHide " + s.Caption); };
c.onShow = function (s) { println("onShow " + s.Caption); };
pc.ActivePageIndex = 2;
show("ActivePageIndex after = 2", pc.ActivePageIndex + " " + pc.ActivePage.Caption);
show("only the active page is visible", a.Visible + " " + b.Visible + " " + c.Visible);
show("the page fills the client area", c.Width == pc.DisplayRect.right - pc.DisplayRect.left);
try { pc.tabs.add("Delta"); } catch (x) { show("pc.tabs.add", x); }
try { pc.tabs.clear(); } catch (x) { show("pc.tabs.clear", x); }
show("tabs after the refused edits", pc.tabs.commaText + " " + pc.PageCount);
b.Caption = "Bravo";
show("a new caption reaches tabs", pc.tabs.commaText);
b.TabVisible = false;
show("a hidden tab", b.TabIndex + " " + c.TabIndex + " " + pc.tabs.commaText);
show("findNextPage(a, true, true)", pc.findNextPage(a, true, true).Caption);
show("findNextPage(a, true, false)", pc.findNextPage(a, true, false).Caption);
show("findNextPage(null, false, true)", pc.findNextPage(null, false, true).Caption);
show("findNextPage(c, true, true) wraps", pc.findNextPage(c, true, true).Caption);
b.TabVisible = true;
c.PageIndex = 0;
show("after c.PageIndex = 0", pc.tabs.commaText + " " + pc.ActivePageIndex);
b.PageControl = null;
show("b taken off", pc.PageCount + " " + b.PageControl + " " + pc.tabs.commaText);
pc.ActivePage = a;
show("ActivePage = a", pc.ActivePageIndex);
a = null;  // the last reference: the sheet goes with its wrapper
show("the freed active page gives way to the next", pc.PageCount + " " + pc.ActivePage.Caption);
pc.ActivePageIndex = -1;
show("ActivePageIndex = -1", pc.ActivePageIndex + " " + pc.ActivePage);
try { pc.ActivePage = t; } catch (x) { show("ActivePage = a tab control", x); }
try { b.PageControl = f; } catch (x) { show("PageControl = a form", x); }
var loose = new VCLTabSheet();
show("a loose sheet", loose.PageControl + " " + loose.TabIndex + " " + loose.PageIndex);
//--- next run ---
// The page control's tabs refuse changes with the reason.
var f = new VCLForm();
var pc = new VCLPageControl(f);
new VCLTabSheet(pc).Caption = "One";
pc.tabs.add("Two");
//--- next run ---
// A tab sheet's page control must be a page control.
var f = new VCLForm();
var sheet = new VCLTabSheet();
sheet.PageControl = f;
//--- next run ---
var t = new VCLTabControl();
t.tabRect();

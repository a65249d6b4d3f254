// 100,000 items with captions and one sub-item each, every item with its wrapper.
var f = new VCLForm();
var lv = new VCLListView(f);
lv.ViewStyle = "vsReport";
lv.column.add().Caption = "Name";
lv.column.add().Caption = "Value";
lv.items.beginUpdate();
for (var i = 0; i < 100000; i++) {
  var item = lv.items.add();
  item.Caption = "item " + i;
  item.SubItems.add("" + (i * 7 % 1000));
}
lv.items.endUpdate();
println(lv.items.Count);

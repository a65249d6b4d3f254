// The recording canvas and the memory stream.
#include <gtest/gtest.h>

#include "platform/classes/canvas.h"
#include "platform/classes/memory_stream.h"

namespace kgui {
namespace {

TEST(RecordingCanvas, RecordsCallsWithTheStateTheyUsed) {
  RecordingCanvas c;
  c.pen().color = clRed;
  c.moveTo(0, 0);
  c.lineTo(10, 5);
  c.lineTo(10, 10);
  c.brush().style = bsClear;
  c.rectangle(1, 2, 3, 4);
  c.font().setSize(12);
  c.textOut(5, 6, "2theta");
  uint8_t bits[4] = {0, 1, 2, 3};
  TColor palette[256] = {};
  c.stretchDraw({0, 0, 20, 20}, Raster8{2, 2, 2, bits, palette});
  EXPECT_EQ(c.calls(), (std::vector<std::string>{
                           "LineTo 0,0 10,5 pen=$0000FF/1",
                           "LineTo 10,5 10,10 pen=$0000FF/1",
                           "Rectangle 1,2 3,4 pen=$0000FF/1 brush=clear",
                           "TextOut 5,6 '2theta' font=MS Sans Serif/12/$80000008 brush=clear",
                           "StretchDraw 0,0 20,20 from 0,0 2,2 of 2x2",
                       }));
  EXPECT_EQ(c.textExtent("abcd"), (TSize{32, 16}));
  EXPECT_EQ(c.penPos(), (TPoint{10, 10}));
}

TEST(MemoryStream, ReadsWritesAndSeeks) {
  TMemoryStream s;
  s.writeString("Kestrin");
  EXPECT_EQ(s.size(), 7);
  s.seek(-3, soEnd);
  char buf[8] = {};
  EXPECT_EQ(s.read(buf, 8), 3);
  EXPECT_STREQ(buf, "rin");
  EXPECT_EQ(s.read(buf, 1), 0);
  s.setPosition(0);
  s.writeString("W");
  EXPECT_EQ(s.toString(), "Westrin");
  s.setSize(2);
  EXPECT_EQ(s.position(), 1);
  EXPECT_EQ(s.seek(-10, soCurrent), 0);
}

}  // namespace
}  // namespace kgui

// DynaCall and Struct against the test library and libc/libm: every type letter declared,
// called, converted and written back; Struct layouts against the C compiler's; errors;
// modules kept loaded by declared functions; memory copies; window messages.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/system/window_messages.h"
#include "script/objects/dyna_call_object.h"
#include "script/objects/struct_object.h"
#include "script_runner.h"

namespace kestrin::script::testing {
namespace {

const std::string kLib = std::string("\"") + KESTRIN_DYNATEST + "\"";

// A script that declares `function` of `library` with `options` and prints `expression`.
std::string Declared(const std::string& library, const std::string& function, const std::string& options,
                     const std::string& expression) {
  return "var dc = new DynaCall();\ndc.register(" + library + ", \"" + function + "\"" +
         (options.empty() ? "" : ", " + options) + ");\nprintln(" + expression + ");\n";
}

struct CallRow {
  const char* function;
  const char* options;
  const char* args;
  const char* expected;
};

TEST(DynaCall, EveryLetterIsPackedCalledAndConverted) {
  ScriptRunner runner;
  const CallRow rows[] = {
      {"dt_c", "\"i=c\", \"r=l\"", "0x1FF", "255"},
      {"dt_t", "\"i=t\", \"r=l\"", "0x18000", "-32768"},
      {"dt_l", "\"i=l\", \"r=l\"", "41", "42"},
      {"dt_u", "\"i=u\", \"r=u\"", "4294967295", "-1"},
      {"dt_b", "\"i=b\", \"r=b\"", "true", "true"},
      {"dt_b", "\"i=b\", \"r=b\"", "0", "false"},
      {"dt_h", "\"i=h\", \"r=h\"", "4294967296", "8589934592"},
      {"dt_h", "\"i=h\", \"r=h\"", "-3", "-6"},
      {"dt_p", "\"i=p\", \"r=p\"", "4096", "4097"},
      {"dt_p", "\"i=p\", \"r=p\"", "140737488351231", "140737488351232"},
      {"dt_f", "\"i=f\", \"r=f\"", "1.25", "2.5"},
      {"dt_d", "\"i=d\", \"r=d\"", "10", "2.5"},
      {"dt_i", "\"i=i\", \"r=i\"", "-5000000000", "-4999999999"},
      {"dt_i", "\"i=i\", \"r=i\"", "2.5", "3"},
      {"dt_r_c", "\"r=c\"", "", "305419896"},
      {"dt_s_len", "\"i=s\", \"r=l\"", "\"hello\"", "5"},
      {"dt_s_len", "\"i=s\", \"r=l\"", "\"\"", "0"},
      {"dt_s_len", "\"i=s\", \"r=l\"", "null", "-1"},
      {"dt_s_len", "\"i=s\", \"r=l\"", "", "-1"},
      {"dt_s_upper", "\"i=s\", \"r=s\"", "\"abc\"", "ABC"},
      {"dt_w_len", "\"i=w\", \"r=l\"", "\"日本語\"", "3"},
      {"dt_w_first", "\"i=w\", \"r=l\"", "\"日\"", "26085"},
      {"dt_w_kana", "\"r=w\"", "", "カナ-ok"},
      {"dt_null_s", "\"r=s\"", "", ""},
      {"dt_null_w", "\"r=w\"", "", ""},
      {"dt_second", "\"i=ls\", \"r=l\"", "5", "-5"},
      {"dt_second", "\"i=ls\", \"r=l\"", "5, \"abc\"", "8"},
      {"dt_many_ints", "\"i=llllllll\", \"r=i\"", "1, 2, 3, 4, 5, 6, 7, 8", "87654321"},
      {"dt_many_doubles", "\"i=dddddddddd\", \"r=d\"", "1, 2, 3, 4, 5, 6, 7, 8, 9, 10", "9217"},
      {"dt_mixed", "\"i=ldldldldldldldldld\", \"r=d\"", "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18",
       "2109"},
      {"dt_only", "\"r=l\"", "", "65"},
      // Flags: the conventions mean nothing here; "8" without "r=d" calls for a double
      // that is then dropped.
      {"dt_d", "\"i=d\", \"r=d\", \"f=c8\"", "10", "2.5"},
      {"dt_d", "\"i=d\", \"f=8\"", "10", "undefined"},
      {"dt_l", "\"i=l\", \"r=l\", \"f=sb\"", "1", "2"},
      {"dt_l", "\"i=l\"", "1", "undefined"},
  };
  for (const CallRow& r : rows) {
    std::string call = std::string("dc.") + r.function + "(" + r.args + ")";
    EXPECT_EQ(runner.Run(Declared(kLib, r.function, r.options, call)), std::string(r.expected) + "\n")
        << r.function << " " << r.options << " (" << r.args << ")";
  }
}

TEST(DynaCall, CellsAreWrittenBackIntoNumberObjectsOnly) {
  ScriptRunner runner;
  const CallRow rows[] = {
      {"dt_cell1", "\"i=1\", \"r=l\"", "100", "1 44 100"},
      {"dt_cell2", "\"i=2\", \"r=l\"", "300", "1 -301 300"},
      {"dt_cell4", "\"i=4\", \"r=l\"", "-7", "1 -21 -7"},
      {"dt_cell8", "\"i=8\", \"r=l\"", "5000000", "1 5000000000000 5000000"},
  };
  for (const CallRow& r : rows) {
    std::string script = "var n = new Number(" + std::string(r.args) + ");\nvar m = " + r.args + ";\n" +
                         Declared(kLib, r.function, r.options,
                                  std::string("dc.") + r.function + "(n) + \" \" + n + \" \" + (dc." + r.function +
                                      "(m) * 0 + m)");
    EXPECT_EQ(runner.Run(script), std::string(r.expected) + "\n") << r.function;
  }
  // Undefined and null pass NULL cells.
  EXPECT_EQ(runner.Run(Declared(kLib, "dt_cell4", "\"i=4\", \"r=l\"", "dc.dt_cell4() + dc.dt_cell4(null)")), "0\n");
}

TEST(DynaCall, LibcAndLibmByName) {
  ScriptRunner runner;
  struct Row {
    const char* library;
    const char* function;
    const char* options;
    const char* args;
    const char* expected;
  };
  const Row rows[] = {
      {"\"libc.so.6\"", "strlen", "\"i=s\", \"r=l\"", "\"kestrin\"", "7"},
      {"\"libc.so.6\"", "abs", "\"i=l\", \"r=l\"", "-5", "5"},
      {"\"libm.so.6\"", "cos", "\"i=d\", \"r=d\"", "0", "1"},
      {"\"libm.so.6\"", "powf", "\"i=ff\", \"r=f\"", "2, 10", "1024"},
      {"\"libc.so.6\"", "llabs", "\"i=i\", \"r=i\"", "-5000000000", "5000000000"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(runner.Run(Declared(r.library, r.function, r.options, std::string("dc.") + r.function + "(" + r.args + ")")),
              std::string(r.expected) + "\n")
        << r.function;

  // strtol's end pointer arrives in an 8-byte cell: an address into the Struct that
  // holds the text, which copyMemory then reads from.
  EXPECT_EQ(runner.Run("var dc = new DynaCall();\n"
                       "dc.register(\"libc.so.6\", \"strtol\", \"i=s8l\", \"r=l\");\n"
                       "var text = new Struct(\"t:16\");\ntext.t = \"123abc\";\n"
                       "var end = new Number(0);\nprintln(dc.strtol(text, end, 10));\n"
                       "var rest = new Struct(\"t:4\");\ndc.copyMemory(rest, end.number, 3);\nprintln(rest.t);\n"),
            "123\nabc\n");
  // A variadic call with a double, written into a Struct buffer in place.
  EXPECT_EQ(runner.Run("var dc = new DynaCall();\n"
                       "dc.register(\"libc.so.6\", \"snprintf\", \"i=shsd\", \"r=l\");\n"
                       "var buf = new Struct(\"text:32\");\n"
                       "println(dc.snprintf(buf, 32, \"%.3f|\", 3.14159));\nprintln(buf.text);\n"),
            "6\n3.142|\n");
  // qsort sorts a Struct of five integers in place with a native comparator whose address
  // (above 2^32) comes back as "p" and goes in as "p".
  EXPECT_EQ(runner.Run("var dc = new DynaCall();\n"
                       "dc.register(" + kLib + ", \"dt_int_comparator\", \"r=p\");\n"
                       "dc.register(\"libc.so.6\", \"qsort\", \"i=shhp\");\n"
                       "var a = new Struct(\"l\", \"l\", \"l\", \"l\", \"l\");\n"
                       "a[0] = 42; a[1] = -7; a[2] = 1000; a[3] = 0; a[4] = 13;\n"
                       "var cmp = dc.dt_int_comparator();\nprintln(cmp > 4294967296);\n"
                       "dc.qsort(a, 5, 4, cmp);\n"
                       "println(a[0] + \",\" + a[1] + \",\" + a[2] + \",\" + a[3] + \",\" + a[4]);\n"),
            "true\n-7,0,13,42,1000\n");
}

// Offsets and sizes of the packed test record as the C compiler laid it out, through the
// library's own functions; the Struct's are read off its description.
TEST(DynaCall, StructLayoutMatchesThePackedCRecord) {
  ScriptRunner runner;
  std::string setup = "var dc = new DynaCall();\n"
                      "dc.register(" + kLib + ", \"dt_packed_offset\", \"i=l\", \"r=l\");\n"
                      "dc.register(" + kLib + ", \"dt_packed_size\", \"i=l\", \"r=l\");\n"
                      "dc.register(" + kLib + ", \"dt_packed_sizeof\", \"r=l\");\n"
                      "dc.register(" + kLib + ", \"dt_packed_fill\", \"i=s\");\n"
                      "dc.register(" + kLib + ", \"dt_packed_check\", \"i=s\", \"r=l\");\n"
                      "var r = new Struct(\"name:6\", \"c:c\", \"t:t\", \"l:l\", \"u:u\", \"h:h\", \"p:p\", "
                      "\"s:s\", \"w:w\", \"i:i\", \"b:b\", \"f:f\", \"d:d\");\n";
  // The C layout, member by member, against the Struct's: sizes from its description,
  // offsets from the sizes before.
  std::string c_layout = runner.Run(setup + "for (var k = 0; k < 13; k++) println(dc.dt_packed_offset(k) + \" \" + "
                                            "dc.dt_packed_size(k));\nprintln(dc.dt_packed_sizeof());\n");
  auto* record = dynamic_cast<TJStruct*>(runner.Global("r").object());
  ASSERT_NE(record, nullptr);
  std::string description = record->Description(), struct_layout;
  size_t offset = 0;
  for (size_t at = description.find('('); at != std::string::npos; at = description.find('(', at + 1)) {
    size_t size = std::stoul(description.substr(at + 1));
    struct_layout += std::to_string(offset) + " " + std::to_string(size) + "\n";
    offset += size;
  }
  EXPECT_EQ(c_layout, struct_layout + std::to_string(record->RecordSize()) + "\n");
  EXPECT_EQ(record->RecordSize(), 73u);
  // Native code fills the record in place; the script reads every member back.
  EXPECT_EQ(runner.Run(setup + "dc.dt_packed_fill(r);\n"
                               "println([r.name, r.c, r.t, r.l, r.u, r.h, r.s, r.w, r.i, r.b, r.f, r.d].join(\"|\"));\n"
                               "println(r.p > 65536);\n"),
            "abcde|250|-1234|-123456789|123456789|78187493530|filled|wide|-9876543210|true|1.5|-2.25\ntrue\n");
  // The script writes every member; native code checks them (bit k for member k).
  EXPECT_EQ(runner.Run(setup + "r.name = \"xyz\"; r.c = 200; r.t = -300; r.l = -70000; r.u = 4000000000;\n"
                               "r.h = 8589934593; r.p = 139637976731648; r.s = \"text\"; r.w = \"wide\";\n"
                               "r.i = -5000000000; r.b = true; r.f = 0.75; r.d = 1e100;\n"
                               "println(dc.dt_packed_check(r));\n"),
            "8191\n");
}

TEST(DynaCall, ScriptPaddingMatchesANaturallyAlignedRecord) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var dc = new DynaCall();\n"
                       "dc.register(" + kLib + ", \"dt_natural_offset\", \"i=l\", \"r=l\");\n"
                       "dc.register(" + kLib + ", \"dt_natural_sizeof\", \"r=l\");\n"
                       "dc.register(" + kLib + ", \"dt_natural_fill\", \"i=s\");\n"
                       "var r = new Struct(\"c:c\", \"pad1:3\", \"l:l\", \"d:d\", \"t:t\", \"pad2:6\");\n"
                       "println(dc.dt_natural_offset(1) + \" \" + dc.dt_natural_offset(2) + \" \" + "
                       "dc.dt_natural_offset(3));\n"
                       "println(r.sizeOf() + \" \" + dc.dt_natural_sizeof());\n"
                       "dc.dt_natural_fill(r);\nprintln([r.c, r.l, r.d, r.t].join(\",\"));\n"),
            "4 8 16\n24 24\n107,42,0.5,-7\n");
}

TEST(DynaCall, ErrorsCarryTheirNamesAndMessages) {
  ScriptRunner runner;
  struct Row {
    std::string script;
    const char* error;
  };
  const Row rows[] = {
      {"DynaCall.register(\"libc.so.6\");", "EDLLLoadError(1) => register error: libc.so.6 "},
      {"DynaCall.register(\"\", \"strlen\");", "EDLLLoadError(1) => register error:  strlen"},
      {"DynaCall.register(\"kernel32.dll\", \"GetTickCount\");", "EDLLLoadError(1) => kernel32.dll"},
      {"DynaCall.register(\"libc.so.6\", \"no_such_fn\");", "EDLLLoadError(1) => no_such_fn"},
      {"DynaCall.register(\"libc.so.6\", \"abs\", \"i=lx\");\nDynaCall.abs(1);",
       "EDynaCallError(2) => arguments flag error"},
      {"DynaCall.fillMemory(0, 4);", "EDLLLoadError(1) => invalid parameter"},
      {"DynaCall.copyMemory(new Struct(\"a:l\"), \"abc\", 0);", "EDLLLoadError(1) => invalid parameter"},
      {"DynaCall.copyMemory(\"abcd\", \"abc\", 3);", "EDLLLoadError(1) => invalid parameter"},
      {"DynaCall.copyMemory(new Struct(\"a:l\"), null, 3);", "EDLLLoadError(1) => invalid parameter"},
      {"new Struct(\"a:l\").define();", "EStructError(1) => need member type"},
      {"new Struct(\"a:\");", "EStructError(1) => need member type"},
      {"new Struct(\"a:q\");", "EStructError(1) => member type error"},
      {"new Struct(\"a:0\");", "EStructError(1) => member type error"},
      {"new Struct(\"a:20000000\");", "EStructError(1) => struct too large"},
      {"var s = new Struct(\"a:l\");\ns.removeKey(\"a\");\ns.a = 1;", "EStructError(3) => member not found"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(runner.Run(r.script), std::string("error: Exception: ") + r.error + "\n") << r.script;
}

TEST(DynaCall, DeclaredFunctionsKeepTheirLibraryLoaded) {
  int unloaded = 0;
  std::string flag = std::to_string(reinterpret_cast<intptr_t>(&unloaded));
  {
    ScriptRunner runner;
    EXPECT_EQ(runner.Run("var dc = new DynaCall();\n"
                         "dc.register(" + kLib + ", \"dt_set_unload_flag\", \"i=p\");\n"
                         "dc.register(" + kLib + ", \"dt_l\", \"i=l\", \"r=l\");\n"
                         "dc.dt_set_unload_flag(" + flag + ");\n"
                         "var f = dc.dt_l;\ndc = null;\n"
                         "var cell = new Struct(\"v:l\");\nDynaCall.copyMemory(cell, " + flag + ", 4);\n"
                         "println(f(1) + \" \" + cell.v);\n"),
              "2 0\n");
    EXPECT_EQ(unloaded, 0);
    runner.Run("");  // the last run's function goes
    EXPECT_EQ(unloaded, 1);
  }
}

TEST(DynaCall, MemoryCopiesStayInsideTheirBuffers) {
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var a = new Struct(\"t:8\");\nvar b = new Struct(\"t:8\");\n"
                       "DynaCall.copyMemory(a, \"abcdefg\", 8);\nprintln(a.t);\n"
                       "DynaCall.moveMemory(b, a, 3);\nprintln(b.t);\n"
                       "DynaCall.moveMemory(a, a.t, 4);\n"
                       "DynaCall.fillMemory(a, 2, 0x41);\nprintln(a.t);\n"
                       "DynaCall.fillMemory(a, 1);\nprintln(a.t.length);\n"
                       "DynaCall.copyMemory(a, b);\nprintln(b.t);\n"),
            "abcdefg\nabc\nAAcdefg\n0\nabc\n");
  // A length beyond the Struct or the text (with its NUL) is refused before anything moves.
  EXPECT_EQ(runner.Run("var a = new Struct(\"t:4\");\ntry { DynaCall.copyMemory(a, \"abcd\", 5); } catch (e) { println(e); }\n"
                       "try { DynaCall.fillMemory(a, 5); } catch (e) { println(e); }\n"
                       "try { DynaCall.copyMemory(new Struct(\"t:8\"), a, 5); } catch (e) { println(e); }\n"
                       "try { DynaCall.fillMemory(a, -1); } catch (e) { println(e); }\n"
                       "println(a.sizeOf() + a.t);\n"),
            "EDLLLoadError\nEDLLLoadError\nEDLLLoadError\nEDLLLoadError\n4\n");
}

// A window that checks what sendMessage hands it: cells by address, text by address.
struct CheckingWindow : platform::WindowMessageTarget {
  platform::LResult Message(uint32_t msg, platform::WParam wparam, platform::LParam lparam) override {
    ++calls;
    if (msg == platform::kWmSetText) {
      text = reinterpret_cast<const char*>(lparam);
      return static_cast<platform::LResult>(wparam);
    }
    if (msg == 0x400) {  // cells: a 4-byte one in wParam, an 8-byte one in lParam
      auto* c4 = reinterpret_cast<int32_t*>(wparam);
      auto* c8 = reinterpret_cast<int64_t*>(lparam);
      *c4 = *c4 * -2;
      *c8 = *c8 + 0x100000000LL;
      return 0x7FFFFFFFFFLL;
    }
    if (msg == 0x401) {  // byte and word cells
      *reinterpret_cast<uint8_t*>(wparam) = 0xF0;
      *reinterpret_cast<int16_t*>(lparam) = -2;
      return 0;
    }
    return -1;
  }
  int calls = 0;
  std::string text;
};

TEST(DynaCall, WindowMessagesPassCellsAndTextByAddress) {
  CheckingWindow window;
  platform::WindowHandle h = platform::RegisterWindow(window);
  std::string handle = std::to_string(h);
  ScriptRunner runner;
  EXPECT_EQ(runner.Run("var n = new Number(21);\nvar m = new Number(5);\n"
                       "println(DynaCall.sendMessage(" + handle + ", 0x0C, 7, \"caption\", \"ls\"));\n"
                       "println(DynaCall.sendMessage(" + handle + ", 0x400, n, m, \"48\") + \" \" + n + \" \" + m);\n"
                       "var b = new Number(1);\nvar w = new Number(1);\n"
                       "DynaCall.sendMessage(" + handle + ", 0x401, b, w, \"12\");\nprintln(b + \" \" + w);\n"
                       "println(DynaCall.sendMessage(" + handle + ", 0x402));\n"
                       "println(DynaCall.sendMessage(1, 0x0C) + \" \" + DynaCall.postMessage(1, 0x10));\n"
                       "println(DynaCall.sendMessage(" + handle + ") + \" \" + DynaCall.postMessage(" + handle + "));\n"
                       "println(DynaCall.postMessage(" + handle + ", 0x402, 0, \"x\", \"ls\"));\n"
                       "println(DynaCall.postMessage(" + handle + ", 0x402, 3, 4));\n"),
            "7\n549755813887 -42 4294967301\n240 -2\n-1\n0 false\n0 false\nfalse\ntrue\n");
  EXPECT_EQ(window.text, "caption");
  EXPECT_EQ(window.calls, 4);
  EXPECT_EQ(platform::DeliverPostedMessages(), 1);
  EXPECT_EQ(window.calls, 5);
  platform::UnregisterWindow(h);
}

}  // namespace
}  // namespace kestrin::script::testing

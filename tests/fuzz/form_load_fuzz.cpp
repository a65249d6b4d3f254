// Fuzz target: form text loaded into a fresh form the way a script's loadFromText does, the
// form written again, that text loaded into a second form and written once more (it must
// read back and give the same text), then both forms freed and Qt's deferred deletions run.
// The offscreen platform and scripted dialogs: nothing opens a window or waits for a user.
// Run it with LSAN_OPTIONS=suppressions=tests/third_party_leaks.supp and -dict=tests/fuzz/
// form_text.dict, seeded with form texts such as tests/platform/gui/golden/legacy_form.txt.
#include <QCoreApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "platform/classes/form_stream.h"
#include "platform/gui/app.h"
#include "platform/gui/form.h"
#include "platform/gui/scripted_dialogs.h"
#include "platform/gui/stream_classes.h"

namespace {

int g_argc = 1;
char g_name[] = "fuzz_form_load";
char* g_argv[] = {g_name, nullptr};

// Shows what went wrong with the text written first, and stops.
[[noreturn]] void fail(const std::string& what, const std::string& written) {
  std::fprintf(stderr, "--- written\n%s\n--- then\n%s\n", written.c_str(), what.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static kgui::TApplication app(g_argc, g_argv);
  static kgui::ScriptedDialogs dialogs;
  kgui::setDialogs(&dialogs);
  kgui::RegisterVCLStreamClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  {
    auto form = std::make_unique<kgui::TForm>(nullptr);
    if (kgui::readComponentText(*form, text, kgui::RawText::Cp932).empty()) {
      const std::string written = kgui::writeComponentText(*form);
      auto again = std::make_unique<kgui::TForm>(nullptr);
      const std::string error = kgui::readComponentText(*again, written);
      if (!error.empty()) fail("the written text does not read back: " + error, written);
      const std::string rewritten = kgui::writeComponentText(*again);
      if (rewritten != written) fail(rewritten, written);
    }
  }
  kgui::TApplication::instance()->processMessages();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return 0;
}

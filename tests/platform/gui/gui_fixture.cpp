// The test program's application object and the per-test fixture.
#include "gui_fixture.h"

#include <QApplication>

namespace kgui {

namespace {

int g_argc = 1;
char g_arg0[] = "platform_gui_test";
char* g_argv[] = {g_arg0, nullptr};
TApplication* g_app = nullptr;

class AppEnvironment : public ::testing::Environment {
public:
  void TearDown() override {
    delete g_app;
    g_app = nullptr;
  }
};

const auto* g_env = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

TApplication& testApp() {
  if (!g_app) {
    g_app = new TApplication(g_argc, g_argv);
    g_app->setTitle("Kestrin");
  }
  (void)g_env;
  return *g_app;
}

void GuiTest::SetUp() {
  testApp();
  previous_ = setDialogs(&dialogs_);
}

void GuiTest::TearDown() {
  forms_.clear();
  testApp().processMessages();
  setDialogs(previous_);
}

TForm* GuiTest::makeForm(int client_w, int client_h) {
  forms_.push_back(std::make_unique<TForm>(nullptr));
  TForm* f = forms_.back().get();
  f->setClientWidth(client_w);
  f->setClientHeight(client_h);
  f->showForm();
  return f;
}

}  // namespace kgui

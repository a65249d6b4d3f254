// One application object per test program, with scripted dialogs; each test gets a fresh
// main form and a clean record of questions.
#pragma once

#include <gtest/gtest.h>

#include "platform/gui/app.h"
#include "platform/gui/form.h"
#include "platform/gui/scripted_dialogs.h"

namespace kgui {

TApplication& testApp();

class GuiTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // A shown form owned by the test.
  TForm* makeForm(int client_w = 300, int client_h = 200);

  ScriptedDialogs dialogs_;
  Dialogs* previous_ = nullptr;
  std::vector<std::unique_ptr<TForm>> forms_;
};

// A new control of class C in parent with the given bounds.
template <class C>
C* place(TWinControl* parent, int l, int t, int w, int h) {
  auto* c = new C(parent);
  c->setParent(parent);
  c->setBounds(l, t, w, h);
  return c;
}

}  // namespace kgui

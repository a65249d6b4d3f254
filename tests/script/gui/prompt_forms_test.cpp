// The prompt and text-area forms under the offscreen platform, driven by keys and clicks
// without a modal loop, and the Qt UI services over the scripted dialogs.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "base/cp932.h"
#include "platform/gui/app.h"
#include "platform/gui/gui_fixture.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/scripted_dialogs.h"
#include "platform/gui/std_controls.h"
#include "script/gui/prompt_forms.h"
#include "script/gui/qt_script_ui.h"

namespace kestrin::script {
namespace {

using kestrin::utf8_to_cp932;

// The GUI library's fixture: one application object, scripted dialogs per test.
using PromptForms = kgui::GuiTest;

kgui::TApplication& App() { return kgui::testApp(); }

struct Box {
  int left, top, width, height;
  bool operator==(const Box&) const = default;
};
Box BoxOf(const kgui::TControl& c) { return {c.left(), c.top(), c.width(), c.height()}; }

TEST_F(PromptForms, PromptLayoutAndAnchors) {
  TfrmPrompt form(nullptr);
  EXPECT_EQ(form.clientWidth(), 492);
  EXPECT_EQ(form.clientHeight(), 73);
  EXPECT_EQ(BoxOf(*form.lblText), (Box{12, 8, 381, 29}));
  EXPECT_EQ(BoxOf(*form.edtPrompt), (Box{10, 41, 385, 20}));
  EXPECT_EQ(BoxOf(*form.btnOK), (Box{408, 8, 75, 25}));
  EXPECT_EQ(BoxOf(*form.btnCancel), (Box{408, 40, 75, 25}));
  EXPECT_TRUE(form.btnOK->isDefault());
  EXPECT_TRUE(form.btnCancel->cancel());
  EXPECT_TRUE(form.lblText->wordWrap());
  // Widening widens the label and the edit and keeps the buttons at the right edge.
  form.setClientWidth(700);
  EXPECT_EQ(BoxOf(*form.lblText), (Box{12, 8, 589, 29}));
  EXPECT_EQ(BoxOf(*form.edtPrompt), (Box{10, 41, 593, 20}));
  EXPECT_EQ(BoxOf(*form.btnOK), (Box{616, 8, 75, 25}));
  EXPECT_EQ(BoxOf(*form.btnCancel), (Box{616, 40, 75, 25}));
  // "MS UI Gothic" is the installed Japanese Gothic font.
  EXPECT_TRUE(QFontInfo(form.lblText->widget()->font()).family().contains("IPA"))
      << QFontInfo(form.lblText->widget()->font()).family().toStdString();
}

TEST_F(PromptForms, PromptEnterConfirmsEscAndTheCloseBoxCancel) {
  {
    TfrmPrompt form(nullptr);
    form.showForm();
    form.edtPrompt->setText("typed");
    QTest::keyClick(form.edtPrompt->widget(), Qt::Key_Return);
    EXPECT_EQ(form.modalResult(), kgui::mrOk);
    EXPECT_EQ(form.edtPrompt->text(), "typed");
  }
  {
    TfrmPrompt form(nullptr);
    form.showForm();
    QTest::keyClick(form.edtPrompt->widget(), Qt::Key_Escape);
    EXPECT_EQ(form.modalResult(), kgui::mrCancel);
  }
  {
    TfrmPrompt form(nullptr);
    form.showForm();
    form.close();
    EXPECT_EQ(form.modalResult(), kgui::mrCancel);
  }
}

TEST_F(PromptForms, PasswordCharacterMasksTheText) {
  TfrmPrompt form(nullptr);
  form.edtPrompt->setText("secret");
  form.edtPrompt->setPasswordChar('#');
  auto* edit = static_cast<QLineEdit*>(form.edtPrompt->widget());
  EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
  EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), '#');
  EXPECT_EQ(form.edtPrompt->text(), "secret");
  form.edtPrompt->setPasswordChar(0);
  EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
}

TEST_F(PromptForms, TextAreaEnterAddsALineClearKeepsTheFormOpen) {
  TfrmTextArea form(nullptr);
  EXPECT_EQ(form.clientWidth(), 492);
  EXPECT_EQ(form.clientHeight(), 275);
  EXPECT_EQ(BoxOf(*form.mmText), (Box{6, 26, 395, 243}));
  EXPECT_EQ(BoxOf(*form.btnClear), (Box{410, 91, 75, 25}));
  EXPECT_FALSE(form.btnOK->isDefault());
  form.showForm();
  form.mmText->setText("one");
  QTest::keyClick(form.mmText->widget(), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(form.mmText->widget(), Qt::Key_Return);
  QTest::keyClicks(form.mmText->widget(), "two");
  EXPECT_EQ(form.modalResult(), kgui::mrNone);
  EXPECT_EQ(form.mmText->lines()->count(), 2);
  form.btnClear->click();
  EXPECT_EQ(form.mmText->lines()->count(), 0);
  EXPECT_EQ(form.modalResult(), kgui::mrNone);
  QTest::keyClick(form.mmText->widget(), Qt::Key_Escape);
  EXPECT_EQ(form.modalResult(), kgui::mrCancel);
  // A larger dialog grows the memo and keeps the buttons at the right edge.
  form.setClientWidth(600);
  form.setClientHeight(400);
  EXPECT_EQ(BoxOf(*form.mmText), (Box{6, 26, 503, 368}));
  EXPECT_EQ(BoxOf(*form.btnOK), (Box{518, 28, 75, 25}));
}

TEST_F(PromptForms, ScreenshotOfAJapanesePrompt) {
  TfrmPrompt form(nullptr);
  form.setCaption("名前の入力");
  form.lblText->setCaption("お名前を入力してください（日本語のラベル）");
  form.edtPrompt->setText("山田太郎");
  form.showForm();
  App().processMessages();
  const QImage image = form.widget()->grab().toImage();
  const std::filesystem::path dir = std::filesystem::path(KESTRIN_BINARY_DIR) / "test-output";
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(image.save(QString::fromStdString((dir / "prompt_japanese.png").string())));
  // The label's glyphs are drawn: its area holds dark pixels.
  int dark = 0;
  for (int y = 8; y < 37; ++y)
    for (int x = 12; x < 393; ++x) dark += qGray(image.pixel(x, y)) < 96;
  EXPECT_GT(dark, 50);
}

TEST_F(PromptForms, MessageBoxesMapFlagsToButtonsKindsAndDefaults) {
  QtScriptUi ui;
  dialogs_.answerModal(kgui::mrNo);
  EXPECT_EQ(ui.MessageBox(utf8_to_cp932("保存しますか"), "Caption", kMbYesNoCancel | kMbIconQuestion | 0x100), kIdNo);
  ASSERT_EQ(dialogs_.questions().size(), 1u);
  const auto& q = dialogs_.questions()[0];
  EXPECT_EQ(q.text, "保存しますか");
  EXPECT_EQ(q.type, kgui::mtConfirmation);
  EXPECT_EQ(q.buttons, (1u << kgui::mbYes) | (1u << kgui::mbNo) | (1u << kgui::mbCancel));
  EXPECT_EQ(q.default_button, kgui::mbNo);
  const struct {
    uint32_t flags;
    kgui::TMsgDlgType kind;
    kgui::TMsgDlgButtons buttons;
  } cases[] = {{kMbOk | kMbIconHand, kgui::mtError, 1u << kgui::mbOK},
               {kMbOkCancel | kMbIconExclamation, kgui::mtWarning, (1u << kgui::mbOK) | (1u << kgui::mbCancel)},
               {kMbAbortRetryIgnore | kMbIconAsterisk, kgui::mtInformation,
                (1u << kgui::mbAbort) | (1u << kgui::mbRetry) | (1u << kgui::mbIgnore)},
               {kMbRetryCancel, kgui::mtCustom, (1u << kgui::mbRetry) | (1u << kgui::mbCancel)}};
  for (const auto& c : cases) {
    dialogs_.answerModal(kgui::mrCancel);
    ui.MessageBox("t", "c", c.flags);
    EXPECT_EQ(dialogs_.questions().back().type, c.kind) << c.flags;
    EXPECT_EQ(dialogs_.questions().back().buttons, c.buttons) << c.flags;
  }
  EXPECT_EQ(ui.ApplicationTitle(), "Kestrin");
}

// A message box that leaves another window active, as a real one does while it is open.
class ActivatingDialogs : public kgui::ScriptedDialogs {
public:
  explicit ActivatingDialogs(QWidget* other) : other_(other) {}
  int messageBoxWithDefault(const std::string& text, const std::string& caption, kgui::TMsgDlgType type,
                            kgui::TMsgDlgButtons buttons, kgui::TMsgDlgBtn default_button) override {
    other_->activateWindow();
    QApplication::processEvents();
    return kgui::ScriptedDialogs::messageBoxWithDefault(text, caption, type, buttons, default_button);
  }

private:
  QWidget* other_;
};

TEST_F(PromptForms, MessageBoxesGiveTheActiveWindowBack) {
  kgui::TForm* owner = makeForm();
  kgui::TForm* other = makeForm();
  owner->widget()->activateWindow();
  App().processMessages();
  if (QApplication::activeWindow() != owner->widget()) GTEST_SKIP() << "the platform does not activate windows";
  ActivatingDialogs dialogs(other->widget());
  kgui::Dialogs* before = kgui::setDialogs(&dialogs);
  QtScriptUi().MessageBox("t", "c", kMbOk);
  App().processMessages();
  kgui::setDialogs(before);
  EXPECT_EQ(QApplication::activeWindow(), owner->widget());
}

// The one run through showModal: a timer answers the form as the user would.
TEST_F(PromptForms, PromptRunsModallyAndGivesTheTypedText) {
  QtScriptUi ui;
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->objectName() == "frmPrompt")
        if (auto* edit = w->findChild<QLineEdit*>("edtPrompt")) {
          edit->setText(QString::fromUtf8("入力"));
          QTest::keyClick(edit, Qt::Key_Return);
        }
  });
  // Whatever happens above, the form does not stay open.
  QTimer::singleShot(5000, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->objectName() == "frmPrompt") w->close();
  });
  PromptRequest request;
  request.text = "Name?";
  request.caption = utf8_to_cp932("表題");
  request.width = 300;
  std::string text;
  ASSERT_TRUE(ui.Prompt(request, text));
  EXPECT_EQ(text, utf8_to_cp932("入力"));
}

}  // namespace
}  // namespace kestrin::script

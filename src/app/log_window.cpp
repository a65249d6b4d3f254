// The log window: a read-only memo that follows the window's size, and two flat buttons.
#include "app/log_window.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "app/form_colours.h"
#include "app/panel_button.h"
#include "platform/gui/list_controls.h"
#include "platform/gui/qt_convert.h"
#include "ports/log.h"
#include "ports/names/log_window_names.h"

namespace kestrin::app {

using namespace kgui;

TfrmLog::TfrmLog(TComponent* owner) : TForm(owner) {
  setVisible(false);
  setName(std::string(frmLog::form));
  setCaption("KES for Windows (Log)");
  setColor(kFormColour);
  setClientWidth(480);
  setClientHeight(360);
  memLog = new TMemo(this);
  memLog->setParent(this);
  memLog->setName(std::string(frmLog::memLog.control));
  memLog->setBounds(8, 8, 464, 308);
  memLog->setAnchors(setOf({akLeft, akTop, akRight, akBottom}));
  memLog->setReadOnly(true);
  memLog->setScrollBars(ssVertical);
  memLog->setColor(kEditColour);
  pbtnClearLog = make_panel_button(this, std::string(frmLog::pbtnClearLog.control), "Clear Log", 8, 324, 89, 28);
  pbtnClearLog->setAnchors(setOf({akLeft, akBottom}));
  pbtnClearLog->OnClick = [this](TComponent*) { pbtnClearLogClick(); };
  pbtnClose = make_panel_button(this, std::string(frmLog::pbtnClose.control), "Close", 383, 324, 89, 28);
  pbtnClose->setAnchors(setOf({akRight, akBottom}));
  pbtnClose->OnClick = [this](TComponent*) { pbtnCloseClick(); };
  the_log().set_listener([this](const std::string& line) { add_line(line); });
}

TfrmLog::~TfrmLog() { the_log().set_listener(nullptr); }

void TfrmLog::add_line(const std::string& text) {
  auto* edit = static_cast<QPlainTextEdit*>(memLog->widget());
  QString line = qs(text);
  line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // An empty document is either no line or one empty line; appending to it adds no block.
  if (lines_ == 0)
    edit->setPlainText(line);
  else if (edit->document()->isEmpty())
    edit->setPlainText(QLatin1Char('\n') + line);
  else
    edit->appendPlainText(line);
  edit->moveCursor(QTextCursor::End);  // the memo shows the newest line, as the platform's Add does
  lines_ += int(line.count(QLatin1Char('\n'))) + 1;
}

void TfrmLog::pbtnClearLogClick() {
  memLog->clear();
  lines_ = 0;
}

void TfrmLog::pbtnCloseClick() { hide(); }

}  // namespace kestrin::app

// TfrmLog: the log window. Its memo receives every log line; lines logged before the
// window existed are handed over when it is created.
#pragma once

#include <string>

#include "platform/gui/form.h"

namespace kgui {
class TMemo;
}

namespace kestrin::app {

class TPanelButton;

class TfrmLog : public kgui::TForm {
public:
  explicit TfrmLog(kgui::TComponent* owner);
  ~TfrmLog() override;

  kgui::TMemo* memLog = nullptr;
  TPanelButton* pbtnClearLog = nullptr;
  TPanelButton* pbtnClose = nullptr;

  // Appends one line at the end of the memo (an empty text adds an empty line).
  void add_line(const std::string& text);
  void pbtnClearLogClick();
  void pbtnCloseClick();

private:
  int lines_ = 0;  // lines since the last clear: the memo cannot tell one empty line from none
};

}  // namespace kestrin::app

// ScriptedDialogs: answers every dialog from a queue and records each question, so tests
// drive file commands, confirmations and error boxes without opening a window.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/gui/dialogs.h"

namespace kgui {

class ScriptedDialogs : public Dialogs {
public:
  // One recorded question: its kind ("open", "save", "message", "directory", "color",
  // "print") and what it showed.
  struct Question {
    std::string kind;
    std::string text;     // message text; the file dialog's filter
    std::string caption;  // caption or title
    int type = 0;         // TMsgDlgType of a message; FilterIndex of a file dialog
    TMsgDlgButtons buttons = 0;
    std::string initial;  // file dialog: InitialDir; directory dialog: the start folder
    int default_button = -1;  // a message box's button that Enter chooses (TMsgDlgBtn)
  };

  // Queued answers, used in order by whatever asks next. A file dialog goes to the chosen
  // file's folder and selects it before it confirms; when OnCanClose keeps it open it asks
  // again (a question of its own) with the next answer.
  void answerFile(const std::string& file_name, int filter_index = 0);  // 0 keeps the index
  void answerFiles(const std::vector<std::string>& names);
  void answerModal(int modal_result);  // a message box button (mrYes ...)
  void answerDirectory(const std::string& dir);
  void answerColor(TColor color);
  void answerFont(const std::string& name, int points);
  void answerFontApplied(const std::string& name, int points);
  void answerPrint();
  void answerCancel();  // any dialog: cancelled (a message box gets mrCancel)

  const std::vector<Question>& questions() const { return questions_; }
  int pending() const { return static_cast<int>(answers_.size()); }
  // Questions asked with no answer queued (a lone OK box needs none: it is acknowledged).
  int unanswered() const { return unanswered_; }

  bool executeFile(TOpenDialog& dialog, bool save) override;
  int messageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                 TMsgDlgButtons buttons) override;
  int messageBoxWithDefault(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons, TMsgDlgBtn default_button) override;
  bool selectDirectory(const std::string& caption, std::string& directory) override;
  bool executeColor(TColor& color) override;
  // Answered by answerFont: the font's name and size in points; answerFontApplied sets
  // them and presses Apply (when the dialog has the button), and the dialog asks again.
  bool executeFont(TFont& font, const std::function<void()>& apply) override;
  bool executePrint(TPrinter& printer) override;

private:
  struct Answer {
    bool accept = false;
    std::vector<std::string> files;
    int filter_index = 0;
    int modal = mrCancel;
    std::string text;
    TColor color = 0;
    int points = 0;  // a font's size
    bool apply = false;  // a font applied, the dialog still open
  };
  bool next(Answer& a);

  std::deque<Answer> answers_;
  std::vector<Question> questions_;
  int unanswered_ = 0;
};

}  // namespace kgui

// ScriptedDialogs: queued answers and the record of questions.
#include "platform/gui/scripted_dialogs.h"

namespace kgui {

void ScriptedDialogs::answerFile(const std::string& file_name, int filter_index) {
  answers_.push_back({true, {file_name}, filter_index, mrOk, {}, 0});
}

void ScriptedDialogs::answerFiles(const std::vector<std::string>& names) {
  answers_.push_back({true, names, 0, mrOk, {}, 0});
}

void ScriptedDialogs::answerModal(int modal_result) {
  answers_.push_back({true, {}, 0, modal_result, {}, 0});
}

void ScriptedDialogs::answerDirectory(const std::string& dir) {
  answers_.push_back({true, {}, 0, mrOk, dir, 0});
}

void ScriptedDialogs::answerColor(TColor color) { answers_.push_back({true, {}, 0, mrOk, {}, color}); }
void ScriptedDialogs::answerFont(const std::string& name, int points) {
  Answer a;
  a.accept = true;
  a.modal = mrOk;
  a.text = name;
  a.points = points;
  answers_.push_back(a);
}
void ScriptedDialogs::answerFontApplied(const std::string& name, int points) {
  answerFont(name, points);
  answers_.back().apply = true;
}
void ScriptedDialogs::answerPrint() { answers_.push_back({true, {}, 0, mrOk, {}, 0}); }
void ScriptedDialogs::answerCancel() { answers_.push_back({false, {}, 0, mrCancel, {}, 0}); }

bool ScriptedDialogs::next(Answer& a) {
  if (answers_.empty()) {
    ++unanswered_;
    return false;
  }
  a = answers_.front();
  answers_.pop_front();
  return true;
}

bool ScriptedDialogs::executeFile(TOpenDialog& d, bool save) {
  for (;;) {
    questions_.push_back({save ? "save" : "open", d.filter(), d.title(), d.filterIndex(), 0, d.initialDir()});
    Answer a;
    if (!next(a) || !a.accept || a.files.empty()) return false;
    d.showChoice(a.files, a.filter_index);
    if (d.confirm(a.files, a.filter_index)) return true;
  }
}

int ScriptedDialogs::messageBox(const std::string& text, const std::string& caption,
                                TMsgDlgType type, TMsgDlgButtons buttons) {
  questions_.push_back({"message", text, caption, type, buttons, {}});
  if (buttons == (1u << mbOK) && answers_.empty()) return mrOk;  // acknowledged
  Answer a;
  if (!next(a)) return mrCancel;
  return a.modal;
}

int ScriptedDialogs::messageBoxWithDefault(const std::string& text, const std::string& caption,
                                           TMsgDlgType type, TMsgDlgButtons buttons,
                                           TMsgDlgBtn default_button) {
  const int answer = messageBox(text, caption, type, buttons);
  questions_.back().default_button = default_button;
  return answer;
}

bool ScriptedDialogs::selectDirectory(const std::string& caption, std::string& directory) {
  questions_.push_back({"directory", {}, caption, 0, 0, directory});
  Answer a;
  if (!next(a) || !a.accept) return false;
  directory = a.text;
  return true;
}

bool ScriptedDialogs::executeColor(TColor& color) {
  questions_.push_back({"color", {}, {}, 0, 0, {}});
  Answer a;
  if (!next(a) || !a.accept) return false;
  color = a.color;
  return true;
}

bool ScriptedDialogs::executeFont(TFont& font, const std::function<void()>& apply) {
  for (;;) {
    questions_.push_back({"font", font.name(), {}, 0, 0, {}});
    Answer a;
    if (!next(a) || !a.accept) return false;
    font.setName(a.text);
    font.setSize(a.points);
    if (!a.apply) return true;
    if (apply) apply();
  }
}

bool ScriptedDialogs::executePrint(TPrinter&) {
  questions_.push_back({"print", {}, {}, 0, 0, {}});
  Answer a;
  return next(a) && a.accept;
}

}  // namespace kgui

// QtDialogs: the platform's dialog properties applied to Qt's own (non-native) dialogs.
#include "platform/gui/qt_dialogs.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFontDialog>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>

#include "platform/gui/printer.h"
#include "platform/gui/qt_convert.h"

namespace kgui {

QStringList qtNameFilters(const std::string& filter) {
  QStringList out;
  for (const FilterEntry& e : parseFilter(filter)) {
    QStringList pats;
    for (const auto& p : e.patterns) pats << qs(p == "*.*" ? "*" : p);
    out << qs(e.description) + " (" + pats.join(' ') + ")";
  }
  return out;
}

void configureFileDialog(QFileDialog& dlg, const TOpenDialog& d, bool save) {
  // A dialog without its own title carries the program's name.
  dlg.setWindowTitle(qs(d.title().empty() ? applicationTitle() : d.title()));
  // No initial folder means the process's current folder, as on the platform (Qt would
  // start an empty one at the file-system root).
  dlg.setDirectory(d.initialDir().empty() ? QDir::currentPath() : qs(d.initialDir()));
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  // Filters such as "*.IMG" match without case.
  dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  uint32_t o = d.options();
  if (save) dlg.setFileMode(QFileDialog::AnyFile);
  else if (o & (1u << ofAllowMultiSelect)) dlg.setFileMode(QFileDialog::ExistingFiles);
  else if (o & (1u << ofFileMustExist)) dlg.setFileMode(QFileDialog::ExistingFile);
  else dlg.setFileMode(QFileDialog::AnyFile);
  if (save && !(o & (1u << ofOverwritePrompt))) dlg.setOption(QFileDialog::DontConfirmOverwrite);
  if (!d.defaultExt().empty()) dlg.setDefaultSuffix(qs(d.defaultExt()));
  QStringList filters = qtNameFilters(d.filter());
  if (!filters.isEmpty()) {
    dlg.setNameFilters(filters);
    int i = std::clamp(d.filterIndex(), 1, static_cast<int>(filters.size()));
    dlg.selectNameFilter(filters[i - 1]);
  }
  if (!d.fileName().empty()) dlg.selectFile(qs(d.fileName()));
}

namespace {

// A file dialog that reports the user's moves to its component and lets the component's
// OnCanClose keep it open: done() with Accepted comes after Qt's own checks (a folder
// typed is entered, an overwrite is confirmed).
class ConfirmingFileDialog : public QFileDialog {
public:
  ConfirmingFileDialog(TOpenDialog& d, bool save) : d_(d) {
    configureFileDialog(*this, d, save);
    connect(this, &QFileDialog::directoryEntered, this, [this](const QString& dir) { d_.enterFolder(ss(dir)); });
    connect(this, &QFileDialog::currentChanged, this, [this](const QString& path) {
      if (!path.isEmpty()) d_.select({ss(path)});
    });
    connect(this, &QFileDialog::filterSelected, this, [this] { d_.chooseType(chosenFilterIndex()); });
  }

  void done(int result) override {
    if (result == QDialog::Accepted && !d_.confirm(chosenFiles(), chosenFilterIndex())) return;
    QFileDialog::done(result);
  }

private:
  std::vector<std::string> chosenFiles() const {
    std::vector<std::string> files;
    for (const QString& f : selectedFiles()) files.push_back(ss(f));
    return files;
  }
  int chosenFilterIndex() const {
    const QStringList filters = nameFilters();
    if (filters.isEmpty() || d_.filter().empty()) return 0;
    return static_cast<int>(filters.indexOf(selectedNameFilter())) + 1;
  }

  TOpenDialog& d_;
};

void setFontFrom(TFont& font, const QFont& chosen) {
  font.setName(ss(chosen.family()));
  font.setSize(chosen.pointSize());
  uint32_t style = 0;
  if (chosen.bold()) style |= 1u << fsBold;
  if (chosen.italic()) style |= 1u << fsItalic;
  if (chosen.underline()) style |= 1u << fsUnderline;
  if (chosen.strikeOut()) style |= 1u << fsStrikeOut;
  font.setStyle(style);
}

}  // namespace

bool QtDialogs::executeFile(TOpenDialog& d, bool save) {
  ConfirmingFileDialog dlg(d, save);
  return dlg.exec() == QDialog::Accepted;
}

namespace {

// A message box that tells a dismissal (Escape, the close box) from a click on the button
// Qt lets stand for it.
class DismissibleBox : public QMessageBox {
public:
  bool dismissed() const { return dismissed_; }

protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Escape) dismissed_ = true;
    QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    dismissed_ = true;
    QMessageBox::closeEvent(e);
  }

private:
  bool dismissed_ = false;
};

}  // namespace

int QtDialogs::messageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                          TMsgDlgButtons buttons) {
  return messageBoxWithDefault(text, caption, type, buttons, static_cast<TMsgDlgBtn>(-1));
}

int QtDialogs::messageBoxWithDefault(const std::string& text, const std::string& caption, TMsgDlgType type,
                                     TMsgDlgButtons buttons, TMsgDlgBtn default_button) {
  static const std::pair<TMsgDlgBtn, QMessageBox::StandardButton> map[] = {
      {mbYes, QMessageBox::Yes},         {mbNo, QMessageBox::No},
      {mbOK, QMessageBox::Ok},           {mbCancel, QMessageBox::Cancel},
      {mbAbort, QMessageBox::Abort},     {mbRetry, QMessageBox::Retry},
      {mbIgnore, QMessageBox::Ignore},   {mbAll, QMessageBox::YesToAll},
      {mbNoToAll, QMessageBox::NoToAll}, {mbYesToAll, QMessageBox::YesToAll},
      {mbHelp, QMessageBox::Help}};
  static const int results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore,
                                mrAll, mrNoToAll, mrYesToAll, mrNone};
  DismissibleBox box;
  box.setWindowTitle(qs(caption));
  box.setText(qs(text));
  box.setIcon(type == mtWarning ? QMessageBox::Warning
              : type == mtError ? QMessageBox::Critical
              : type == mtInformation ? QMessageBox::Information
              : type == mtConfirmation ? QMessageBox::Question
                                       : QMessageBox::NoIcon);
  QMessageBox::StandardButtons qb;
  for (const auto& [btn, q] : map)
    if (buttons & (1u << btn)) qb |= q;
  box.setStandardButtons(qb ? qb : QMessageBox::Ok);
  for (const auto& [btn, q] : map)
    if (btn == default_button && (qb & q)) box.setDefaultButton(q);
  int answer = box.exec();
  // Qt lets No stand for Escape and the close box on a Yes/No box; a question the user
  // dismissed is answered neither Yes nor No.
  const TMsgDlgButtons yes_no = (1u << mbYes) | (1u << mbNo);
  if (box.dismissed() && (buttons & yes_no) == yes_no && !(buttons & (1u << mbCancel))) return mrCancel;
  for (size_t i = 0; i < std::size(map); ++i)
    if (answer == map[i].second) return results[i];
  return mrCancel;
}

bool QtDialogs::selectDirectory(const std::string& caption, std::string& directory) {
  QString dir = QFileDialog::getExistingDirectory(
      nullptr, qs(caption), qs(directory),
      QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (dir.isEmpty()) return false;
  directory = ss(dir);
  return true;
}

bool QtDialogs::executeColor(TColor& color) {
  QColor c = QColorDialog::getColor(toQColor(color), nullptr, QString(),
                                    QColorDialog::DontUseNativeDialog);
  if (!c.isValid()) return false;
  color = fromQColor(c);
  return true;
}

bool QtDialogs::executeFont(TFont& font, const std::function<void()>& apply) {
  QFontDialog dlg(toQFont(font));
  dlg.setOption(QFontDialog::DontUseNativeDialog);
  if (apply) {
    if (auto* buttons = dlg.findChild<QDialogButtonBox*>()) {
      QPushButton* button = buttons->addButton(QDialogButtonBox::Apply);
      QObject::connect(button, &QPushButton::clicked, &dlg, [&] {
        setFontFrom(font, dlg.currentFont());
        apply();
      });
    }
  }
  if (dlg.exec() != QDialog::Accepted) return false;
  setFontFrom(font, dlg.selectedFont());
  return true;
}

bool QtDialogs::executePrint(TPrinter& printer) {
  QPrintDialog dlg(&printer.qprinter());
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace kgui

// The product's dialogs: non-native Qt file, colour, folder and print dialogs and message boxes.
#pragma once

#include <QStringList>

class QFileDialog;

#include "platform/gui/dialogs.h"

namespace kgui {

class QtDialogs : public Dialogs {
public:
  bool executeFile(TOpenDialog& dialog, bool save) override;
  int messageBox(const std::string& text, const std::string& caption, TMsgDlgType type,
                 TMsgDlgButtons buttons) override;
  int messageBoxWithDefault(const std::string& text, const std::string& caption, TMsgDlgType type,
                            TMsgDlgButtons buttons, TMsgDlgBtn default_button) override;
  bool selectDirectory(const std::string& caption, std::string& directory) override;
  bool executeColor(TColor& color) override;
  bool executeFont(TFont& font, const std::function<void()>& apply) override;
  bool executePrint(TPrinter& printer) override;
};

// Sets up a non-native file dialog from the component's properties (used by executeFile).
void configureFileDialog(QFileDialog& dlg, const TOpenDialog& d, bool save);

// The Qt name filters of a platform filter ("Text (*.txt)"), in order.
QStringList qtNameFilters(const std::string& filter);

}  // namespace kgui

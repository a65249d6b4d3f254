// Kestrin's entry: the application object, the numeric locale and the main window.
#include <QApplication>
#include <QWidget>

#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt sets the locale from the environment; numbers in files always use '.'.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Kestrin");
  QApplication::setApplicationDisplayName("Kestrin");

  QWidget main_window;
  main_window.setObjectName("frmMain");
  main_window.setWindowTitle("Kestrin");
  main_window.resize(640, 480);
  main_window.show();
  return app.exec();
}

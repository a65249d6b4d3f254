// drag_peer [--timeout SECONDS] source FILE... | drag_peer [--timeout SECONDS] target
//
// Another program for drags on an X server: a window of 200 x 200 at the screen's top-left
// corner titled "drag peer". Every line it prints is flushed at once, so a driver can follow
// the drag; "ready" comes once the window is on screen.
//
// source: pressing the left button in the window and moving starts a drag of the FILEs
// (copy). Prints "dragging" when the drag starts, "accepted" when a target first takes it,
// and "drag ended ACTION" (the Qt::DropAction number; 0 when nothing took the drop), then
// quits.
// target: takes drops of URLs. Prints "over" on the first move over it, then "dropped NAME"
// for each URL (its local file name, or the URL when it names no local file) and quits.
//
// After SECONDS (default 30) it prints "timed out" and ends with code 3, whatever it waits for.
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

// Says "ready" when its window is first exposed.
class ReadyWatch : public QObject {
public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && !said_ && static_cast<QWindow*>(watched)->isExposed()) {
      said_ = true;
      Say("ready");
    }
    return false;
  }

private:
  bool said_ = false;
};

class Source : public QWidget {
public:
  explicit Source(QList<QUrl> urls) : urls_(std::move(urls)) {}

protected:
  void mousePressEvent(QMouseEvent* e) override { pressed_at_ = e->position().toPoint(); }

  void mouseMoveEvent(QMouseEvent* e) override {
    if (started_ || !(e->buttons() & Qt::LeftButton)) return;
    if ((e->position().toPoint() - pressed_at_).manhattanLength() < QApplication::startDragDistance()) return;
    started_ = true;
    auto* data = new QMimeData;
    data->setUrls(urls_);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    QObject::connect(drag, &QDrag::actionChanged, [this](Qt::DropAction action) {
      if (action != Qt::IgnoreAction && !accepted_) {
        accepted_ = true;
        Say("accepted");
      }
    });
    Say("dragging");
    const Qt::DropAction done = drag->exec(Qt::CopyAction);
    Say(QString("drag ended %1").arg(static_cast<int>(done)));
    QTimer::singleShot(0, qApp, &QApplication::quit);
  }

private:
  QList<QUrl> urls_;
  QPoint pressed_at_;
  bool started_ = false;
  bool accepted_ = false;
};

class Target : public QWidget {
public:
  Target() { setAcceptDrops(true); }

protected:
  void dragEnterEvent(QDragEnterEvent* e) override {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
  }

  void dragMoveEvent(QDragMoveEvent* e) override {
    if (!e->mimeData()->hasUrls()) return;
    e->acceptProposedAction();
    if (!over_) {
      over_ = true;
      Say("over");
    }
  }

  void dropEvent(QDropEvent* e) override {
    for (const QUrl& url : e->mimeData()->urls())
      Say("dropped " + (url.isLocalFile() ? url.toLocalFile() : url.toString()));
    e->acceptProposedAction();
    QTimer::singleShot(0, qApp, &QApplication::quit);
  }

private:
  bool over_ = false;
};

int Usage() {
  std::fprintf(stderr, "usage: drag_peer [--timeout SECONDS] source FILE... | drag_peer [--timeout SECONDS] target\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList args = QApplication::arguments().mid(1);
  double seconds = 30;
  if (args.size() >= 2 && args[0] == "--timeout") {
    seconds = args[1].toDouble();
    args = args.mid(2);
  }
  if (args.isEmpty() || seconds <= 0) return Usage();
  QWidget* window = nullptr;
  if (args[0] == "source" && args.size() > 1) {
    QList<QUrl> urls;
    for (const QString& file : args.mid(1)) urls.push_back(QUrl::fromLocalFile(file));
    window = new Source(urls);
  } else if (args[0] == "target" && args.size() == 1) {
    window = new Target;
  } else {
    return Usage();
  }
  QTimer::singleShot(static_cast<int>(seconds * 1000), [] {
    Say("timed out");
    std::_Exit(3);
  });
  window->setWindowTitle("drag peer");
  window->setGeometry(0, 0, 200, 200);
  ReadyWatch ready;
  window->winId();
  window->windowHandle()->installEventFilter(&ready);
  window->show();
  const int code = QApplication::exec();
  delete window;
  return code;
}

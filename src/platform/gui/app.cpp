// TApplication: Qt set-up, form ownership, the event pump and termination.
#include "platform/gui/app.h"

#include <fcntl.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <clocale>

#include "platform/classes/property_builders.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/printer.h"
#include "platform/gui/qt_convert.h"
#include "platform/gui/qt_dialogs.h"
#include "platform/gui/window_text_messages.h"
#include "platform/system/window_messages.h"
#include "platform/classes/handles.h"

namespace kgui {

static TApplication* g_app = nullptr;

namespace {

// A signal's note to the event loop: one byte into a pipe that the loop watches (all a
// signal handler may safely do).
int signal_pipe[2] = {-1, -1};
void noteSignal(int) {
  const char note = 1;
  [[maybe_unused]] const ssize_t written = ::write(signal_pipe[1], &note, 1);
}

// Delivers the messages posted to Kestrin's windows; those that delivery posts in turn
// get a pass of their own, queued as an event, instead of waiting for some other event.
void deliverPostedMessages() {
  kestrin::platform::DeliverPostedMessages();
  if (kestrin::platform::HasPostedMessages())
    QMetaObject::invokeMethod(QCoreApplication::instance(), &deliverPostedMessages, Qt::QueuedConnection);
}

}  // namespace

const ClassInfo& TApplication::staticClassInfo() {
  static const ClassInfo info("TApplication", &TComponent::staticClassInfo(),
                              {strProp<TApplication>("Title", &TApplication::title,
                                                     &TApplication::setTitle)});
  return info;
}

TApplication* TApplication::instance() { return g_app; }

TApplication::TApplication(int& argc, char** argv)
    : TComponent(nullptr), qapp_(std::make_unique<QApplication>(argc, argv)) {
  // QApplication sets the locale from the environment; numbers stay in the C form.
  std::setlocale(LC_NUMERIC, "C");
  qapp_->setQuitOnLastWindowClosed(false);  // only the main form's closing quits
  installFontSubstitutions();
  qt_dialogs_ = std::make_unique<QtDialogs>();
  setDialogs(qt_dialogs_.get());
  // Every pass of an event loop that is about to sleep (the main loop, modal loops, waits).
  if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance())
    QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, qapp_.get(), &deliverPostedMessages);
  g_app = this;
}

TApplication::~TApplication() {
  destroyComponents();  // forms go while Qt still exists, last created first
  if (message_target_) kestrin::platform::UnregisterWindow(windowHandles().find(this));
  windowHandles().release(this);
  releasePrinter();
  if (&dialogs() == qt_dialogs_.get()) setDialogs(nullptr);
  qt_dialogs_.reset();
  g_app = nullptr;
}

std::string TApplication::title() const { return applicationTitle(); }
void TApplication::setTitle(const std::string& title) { setApplicationTitle(title); }

uint32_t TApplication::handle() const {
  const uint32_t h = windowHandles().handleOf(this);
  if (!message_target_) {
    auto* self = const_cast<TApplication*>(this);
    auto perform = [self](unsigned msg, uintptr_t, intptr_t lparam) -> intptr_t {
      if (msg == WM_SETTEXT) {
        self->setTitle(lparam ? reinterpret_cast<const char*>(lparam) : "");
        return 1;
      }
      if (msg == WM_CLOSE && self->mainForm()) self->mainForm()->perform(WM_CLOSE, 0, 0);
      return 0;
    };
    message_target_ = std::make_unique<AnsiMessageTarget>(perform, [self] { return self->title(); });
    kestrin::platform::RegisterWindowAt(h, *message_target_);
  }
  return h;
}

void TApplication::notification(TComponent* c, Operation op) {
  if (op == Operation::Remove && c == main_form_) main_form_ = nullptr;
}

int TApplication::run() {
  if (main_form_ && !terminated_) main_form_->showForm();
  if (terminated_) return 0;
  return qapp_->exec();
}

void TApplication::terminate() {
  terminated_ = true;
  // Not quit(): Qt's quit first asks every window to close and is dropped when one refuses.
  QCoreApplication::exit(0);
}

void TApplication::closeMainFormOnSignals() {
  if (signal_pipe[0] >= 0 || ::pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, qapp_.get());
  QObject::connect(notifier, &QSocketNotifier::activated, qapp_.get(), [this] {
    char drained[64];
    while (::read(signal_pipe[0], drained, sizeof drained) > 0) {
    }
    if (main_form_) main_form_->close();
    else terminate();
  });
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
}

void TApplication::processMessages() {
  deliverPostedMessages();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TApplication::pumpMessages(int wait_ms) {
  if (terminated_) return false;
  deliverPostedMessages();
  // The timer ends the wait when nothing else arrives in time.
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(std::max(0, wait_ms));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return !terminated_;
}

bool TApplication::waitUntil(const std::function<bool()>& pred, int timeout_ms) {
  bool timed_out = false;
  QTimer timer;
  if (timeout_ms >= 0) {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { timed_out = true; });
    timer.start(timeout_ms);
  }
  // WaitForMoreEvents sleeps until an event arrives: no busy loop.
  while (!pred() && !terminated_ && !timed_out)
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return pred();
}

TApplication::LongRun::LongRun(TApplication& app) : app_(app), active_(!app.long_run_active_) {
  if (active_) app_.long_run_active_ = true;
}

TApplication::LongRun::~LongRun() {
  if (active_) app_.long_run_active_ = false;
}

}  // namespace kgui

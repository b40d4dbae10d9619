#include "platform/runtime/program.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTextEdit>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/runtime/frame.h"
#include "platform/runtime/message.h"
#include "platform/runtime/threads.h"

namespace rt {
namespace {

std::function<void(const QString&, int)>& haltHandler() {
  static std::function<void(const QString&, int)> h;
  return h;
}

// --- shut-down --------------------------------------------------------------------------------

int signalPipe[2] = {-1, -1};
std::function<void()> shutdownHandler;
QSocketNotifier* signalNotifier = nullptr;
QMetaObject::Connection sessionConnection;

void onSignal(int) {
  const char c = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

void installSignals() {
  if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
  if (!signalNotifier) {
    signalNotifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(signalNotifier, &QSocketNotifier::activated, [] {
      char buf[16];
      [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], buf, sizeof buf);
      if (shutdownHandler) shutdownHandler();
    });
  }
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

void restoreSignals() {
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
}

// --- focus --------------------------------------------------------------------------------------

template <typename Action>
void onFocused(Action act) {
  QWidget* w = QApplication::focusWidget();
  if (auto* e = qobject_cast<QLineEdit*>(w))
    act(e);
  else if (auto* t = qobject_cast<QPlainTextEdit*>(w))
    act(t);
  else if (auto* t2 = qobject_cast<QTextEdit*>(w))
    act(t2);
  else if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit())
    act(c->lineEdit());
}

}  // namespace

void halt(const QString& text, int exitCode) {
  if (!text.isEmpty()) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  if (haltHandler()) {
    haltHandler()(text, exitCode);
    if (rt::thread() != 0) waitUntil([] { return false; });
  }
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

void setHaltHandler(std::function<void(const QString&, int)> handler) {
  haltHandler() = std::move(handler);
}

void setShutdownHandler(std::function<void()> onShutdown) {
  shutdownHandler = std::move(onShutdown);
  installSignals();
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QObject::disconnect(sessionConnection);
    // The session manager's question whether the program may end: a handler that does not cancel
    // answers yes (without one, Qt would ask the windows to close and take the frame's refusal as
    // no). The session's end itself arrives as a request to close the frame.
    sessionConnection =
        QObject::connect(app, &QGuiApplication::commitDataRequest, app, [](QSessionManager&) {});
  }
}

void removeShutdownHandler() {
  shutdownHandler = nullptr;
  QObject::disconnect(sessionConnection);
  restoreSignals();
}

void editCut() {
  onFocused([](auto* w) { w->cut(); });
}
void editCopy() {
  onFocused([](auto* w) { w->copy(); });
}
void editPaste() {
  onFocused([](auto* w) { w->paste(); });
}

QPrinter& printer() {
  static QPrinter p(QPrinter::HighResolution);
  return p;
}

bool printerSetup() {
  Frame* frame = Frame::instance();
  auto* dialog = new QPrintDialog(&printer(), frame ? frame->widget() : nullptr);
  dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog->setWindowTitle("Print Setup");
  const int caller = rt::thread();
  int result = -1;
  QObject::connect(dialog, &QDialog::finished, dialog, [&result, caller](int r) {
    result = r;
    wake(caller);
  });
  dialog->setWindowModality(Qt::NonModal);
  dialog->show();
  waitUntil([&result] { return result >= 0; });
  delete dialog;
  return result == QDialog::Accepted;
}

}  // namespace rt

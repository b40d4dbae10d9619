// Entry of every test executable: one QApplication for the whole process (offscreen unless the
// environment names another platform), then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says so for every window it cannot raise; that is noise, not news.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith("This plugin does not support")) return;
  if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    static QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
  }
  previousHandler = qInstallMessageHandler(quietHandler);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

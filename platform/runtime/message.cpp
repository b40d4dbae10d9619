#include "platform/runtime/message.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/runtime/frame.h"
#include "platform/runtime/threads.h"
#include "platform/runtime/window_stack.h"

namespace rt {
namespace {

bool answerAll = false;

struct ButtonInfo {
  Button button;
  QMessageBox::StandardButton standard;
};
constexpr ButtonInfo kButtons[] = {
    {kOk, QMessageBox::Ok},         {kYes, QMessageBox::Yes},       {kNo, QMessageBox::No},
    {kRetry, QMessageBox::Retry},   {kIgnore, QMessageBox::Ignore}, {kAbort, QMessageBox::Abort},
    {kCancel, QMessageBox::Cancel},
};

Button escapeOf(unsigned buttons) {
  if (buttons & kCancel) return kCancel;
  if (buttons & kNo) return kNo;
  for (const ButtonInfo& b : kButtons)
    if (buttons & b.button) return b.button;
  return kOk;
}

QMessageBox::Icon qtIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Hand:
      return QMessageBox::Critical;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Button message(const QString& text, const QString& caption, Icon icon, unsigned buttons,
               Button defaultButton) {
  if (buttons == 0) buttons = kOk;
  const Button escape = escapeOf(buttons);
  if (answerAll) return escape;

  Frame* frame = Frame::instance();
  auto* box = new QMessageBox(frame ? frame->widget() : nullptr);
  box->setWindowFlag(Qt::Dialog);
  box->setWindowModality(Qt::NonModal);
  box->setAttribute(Qt::WA_DeleteOnClose, false);
  box->setWindowTitle(caption);
  box->setText(text);
  box->setIcon(qtIcon(icon));
  Button first = Button(0);
  for (const ButtonInfo& b : kButtons) {
    if (!(buttons & b.button)) continue;
    if (!first) first = b.button;
    QAbstractButton* qb = box->addButton(b.standard);
    qb->setProperty("kvxButton", unsigned(b.button));
    if (b.button == (defaultButton ? defaultButton : first))
      box->setDefaultButton(static_cast<QPushButton*>(qb));
    if (b.button == escape) box->setEscapeButton(qb);
  }

  const int caller = rt::thread();
  Button answer = Button(0);
  QObject::connect(box, &QMessageBox::buttonClicked, box, [&answer, caller](QAbstractButton* b) {
    answer = Button(b->property("kvxButton").toUInt());
    wake(caller);
  });
  QObject::connect(box, &QMessageBox::rejected, box, [&answer, escape, caller] {
    if (!answer) answer = escape;
    wake(caller);
  });
  detail::pushWindow(caller, box, nullptr, [](bool) {});
  box->show();
  box->raise();
  waitUntil([&answer] { return answer != 0 || answerAll; });
  if (!answer) answer = escape;
  detail::removeWindow(caller, box);
  box->hide();
  delete box;
  return answer;
}

void answerEveryMessage(bool on) {
  answerAll = on;
  if (on) wakeAll();
}

}  // namespace rt

// Message boxes: a caption, a text, an icon and a set of buttons, answered by the user.
//
// message() shows the box and waits for the answer as a wait of the calling thread: other threads'
// windows stay usable and no nested event loop runs. While the box is up the caller's other windows
// are disabled, as for any later window of a thread. Escape (or closing the box) gives the Cancel
// button when there is one, else No, else the only button.
#pragma once

#include <QString>

namespace rt {

enum class Icon { None, Information, Exclamation, Question, Hand };

enum Button : unsigned {
  kOk = 1u << 0,
  kCancel = 1u << 1,
  kYes = 1u << 2,
  kNo = 1u << 3,
  kRetry = 1u << 4,
  kIgnore = 1u << 5,
  kAbort = 1u << 6,
};

inline constexpr unsigned kOkCancel = kOk | kCancel;
inline constexpr unsigned kYesNo = kYes | kNo;
inline constexpr unsigned kYesNoCancel = kYes | kNo | kCancel;
inline constexpr unsigned kRetryCancel = kRetry | kCancel;
inline constexpr unsigned kYesNoIgnore = kYes | kNo | kIgnore;

// Returns the button the user chose. With no default named, the first button is the default.
Button message(const QString& text, const QString& caption = QString(), Icon icon = Icon::None,
               unsigned buttons = kOk, Button defaultButton = Button(0));

// While on, every box is answered at once with its escape button, boxes on screen included: the
// program is being shut down by the system and nobody is there to answer.
void answerEveryMessage(bool on = true);

}  // namespace rt

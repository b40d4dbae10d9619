// The open windows of each program thread, in the order they opened (internal to the runtime).
//
// Only a thread's latest window takes input; opening one blocks the others of its thread and closing
// it unblocks the one below. Message boxes count as windows here but are not Window objects.
#pragma once

#include <functional>
#include <vector>

namespace rt {
class Window;
}

namespace rt::detail {

// `id` identifies the entry; `window` is null for a message box.
void pushWindow(int thread, const void* id, Window* window, std::function<void(bool blocked)> block);
void removeWindow(int thread, const void* id);
Window* topWindow(int thread);
bool hasWindows(int thread);
// Every thread's latest Window (not message boxes), for close-down.
std::vector<Window*> topWindows();

}  // namespace rt::detail

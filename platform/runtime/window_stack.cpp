#include "platform/runtime/window_stack.h"

#include <map>
#include <vector>

namespace rt::detail {
namespace {

struct Entry {
  const void* id;
  Window* window;
  std::function<void(bool)> block;
};

std::map<int, std::vector<Entry>>& stacks() {
  static std::map<int, std::vector<Entry>> s;
  return s;
}

}  // namespace

void pushWindow(int thread, const void* id, Window* window, std::function<void(bool)> block) {
  auto& stack = stacks()[thread];
  if (!stack.empty()) stack.back().block(true);
  stack.push_back({id, window, std::move(block)});
}

void removeWindow(int thread, const void* id) {
  auto it = stacks().find(thread);
  if (it == stacks().end()) return;
  auto& stack = it->second;
  for (size_t i = 0; i < stack.size(); ++i) {
    if (stack[i].id != id) continue;
    const bool wasTop = i + 1 == stack.size();
    stack.erase(stack.begin() + i);
    if (wasTop && !stack.empty()) stack.back().block(false);
    break;
  }
  if (stack.empty()) stacks().erase(it);
}

Window* topWindow(int thread) {
  auto it = stacks().find(thread);
  if (it == stacks().end()) return nullptr;
  for (auto e = it->second.rbegin(); e != it->second.rend(); ++e)
    if (e->window) return e->window;
  return nullptr;
}

bool hasWindows(int thread) {
  return stacks().count(thread) != 0;
}

std::vector<Window*> topWindows() {
  std::vector<Window*> out;
  for (const auto& [thread, stack] : stacks())
    for (auto e = stack.rbegin(); e != stack.rend(); ++e)
      if (e->window) {
        out.push_back(e->window);
        break;
      }
  return out;
}

}  // namespace rt::detail

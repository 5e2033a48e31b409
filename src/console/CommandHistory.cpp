#include "console/CommandHistory.h"

#include <algorithm>

namespace varnok {

namespace {

unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return FoldCase(static_cast<unsigned char>(x)) < FoldCase(static_cast<unsigned char>(y));
  });
}

}  // namespace

bool CommandHistory::RememberCommand(std::string_view text, bool entrySelected) {
  if (entrySelected) return false;
  if (std::find(entries_.begin(), entries_.end(), text) != entries_.end()) return false;
  entries_.insert(entries_.begin(), std::string(text));
  if (entries_.size() > kLimit) entries_.pop_back();
  return true;
}

bool CommandHistory::ForgetCommand(std::string_view text) {
  auto it = std::find(entries_.begin(), entries_.end(), text);
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

void CommandHistory::Sort() {
  std::stable_sort(entries_.begin(), entries_.end(), LessIgnoringCase);
  sorted_ = true;
}

}  // namespace varnok

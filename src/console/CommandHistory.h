#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// The command console's history: commands that ran successfully, in display order (entry 0 at the
// top of the command box's drop-down list).
class CommandHistory {
 public:
  // Remembering a command never leaves more entries than this; a list read from the settings file
  // may hold more.
  static constexpr std::size_t kLimit = 20;

  CommandHistory() = default;
  explicit CommandHistory(std::vector<std::string> entries) : entries_(std::move(entries)) {}

  const std::vector<std::string>& Entries() const { return entries_; }
  void Replace(std::vector<std::string> entries) { entries_ = std::move(entries); }

  // After a successful execution. `entrySelected` is true when the command box's text was picked
  // from the list and not edited since; then nothing changes. A text already in the list (exact,
  // case-sensitive) is not moved. Otherwise the text goes to the top, also in sorted mode, and when
  // the list then holds more than kLimit entries its last entry is dropped (one per insertion).
  // Returns true when the list changed.
  bool RememberCommand(std::string_view text, bool entrySelected);

  // The context menu's "Delete": removes the first entry from the top equal to `text`.
  // Returns true when one was removed.
  bool ForgetCommand(std::string_view text);

  // The context menu's "Sort": ascending order with letter case ignored (entries equal but for case
  // keep their order). Switches sorted mode on for good; later entries still go to the top.
  void Sort();
  bool SortedMode() const { return sorted_; }

 private:
  std::vector<std::string> entries_;
  bool sorted_ = false;
};

}  // namespace varnok

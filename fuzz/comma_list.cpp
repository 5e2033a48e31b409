// Comma lists: any list of texts joined and split again comes back unchanged; splitting any text
// and joining the entries gives a text that splits to the same entries.
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "core/TextConversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A comma list ends at a NUL byte, as a text of the instrument's settings does: only what comes
  // before the first one is a list.
  std::string_view text = AsText(data, size);
  text = text.substr(0, text.find('\0'));
  // The input read as a list: entries separated by the byte 0xFF.
  std::vector<std::string> list;
  if (!text.empty()) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t cut = text.find('\xFF', start);
      list.emplace_back(
          text.substr(start, cut == std::string_view::npos ? std::string_view::npos : cut - start));
      if (cut == std::string_view::npos) break;
      start = cut + 1;
    }
  }
  FUZZ_CHECK(varnok::SplitCommaList(varnok::JoinCommaList(list)) == list);

  const std::vector<std::string> entries = varnok::SplitCommaList(text);
  FUZZ_CHECK(varnok::SplitCommaList(varnok::JoinCommaList(entries)) == entries);
  return 0;
}

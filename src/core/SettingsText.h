#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnok {

// The text of a settings file, edited line by line so that every byte the program does not own
// stays as it was: comments anywhere, lines without "=", CR LF or LF line ends, NUL bytes, a
// byte-order mark, a section line without its "]", and the order and spelling of every section and
// key. Text() of an unedited file gives back exactly the bytes it was made from.
//
// A line whose first non-blank character is "[" opens a section; its name runs to the "]" (or to the
// end of the line when the "]" is missing), blanks around it dropped. A line that holds "=" and does
// not begin with ";" or "#" is a setting: the key is the text before the first "=", the value the
// text after it, blanks around both dropped. Sections and keys match in any letter case; where a key
// is given twice, the first one counts.
class SettingsText {
 public:
  SettingsText() = default;
  explicit SettingsText(std::string_view bytes);

  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // Sets a key. When its stored value already equals `value`, nothing changes. Otherwise only the
  // text after the "=" of the key's line is replaced; a key not yet in the section is added after
  // the section's last setting, and a section not yet in the file is added at its end.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);

  std::string Text() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", or for the last line "\r" or nothing
  };
  struct Setting {
    std::string section;
    std::string key;
    std::size_t line;
  };
  struct Section {
    std::string name;
    std::size_t header;       // line of the section's first header
    std::size_t lastSetting;  // line after which a new key of this section goes
  };

  void Index();
  std::string LineEnd() const;
  static void EndLine(Line& line, const std::string& end);
  const Setting* FindSetting(std::string_view section, std::string_view key) const;

  std::string bom_;
  std::vector<Line> lines_;
  std::vector<Setting> settings_;  // in file order
  std::vector<Section> sections_;  // first block of each name, in file order
};

}  // namespace varnok

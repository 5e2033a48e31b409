#include "core/SettingsText.h"

namespace varnok {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The section a header line opens, or nothing when the line is not a header.
std::optional<std::string_view> HeaderName(std::string_view line) {
  const std::string_view body = Trimmed(line);
  if (body.empty() || body.front() != '[') return std::nullopt;
  std::string_view name = body.substr(1);
  const std::size_t close = name.find(']');
  if (close != std::string_view::npos) name = name.substr(0, close);
  return Trimmed(name);
}

bool IsComment(std::string_view line) {
  const std::string_view body = Trimmed(line);
  return !body.empty() && (body.front() == ';' || body.front() == '#');
}

// A value ends at its line: a line break inside it would start a new line of the file.
std::string OneLine(std::string_view value) {
  std::string text(value);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

SettingsText::SettingsText(std::string_view bytes) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bom_ = std::string(kByteOrderMark);
    bytes.remove_prefix(kByteOrderMark.size());
  }
  while (!bytes.empty()) {
    const std::size_t newline = bytes.find('\n');
    if (newline == std::string_view::npos) {
      // A CR at the very end of the file ends its last line.
      const bool cr = bytes.back() == '\r';
      lines_.push_back({std::string(bytes.substr(0, bytes.size() - (cr ? 1 : 0))), cr ? "\r" : ""});
      break;
    }
    const bool crlf = newline > 0 && bytes[newline - 1] == '\r';
    const std::size_t textLength = crlf ? newline - 1 : newline;
    lines_.push_back({std::string(bytes.substr(0, textLength)), crlf ? "\r\n" : "\n"});
    bytes.remove_prefix(newline + 1);
  }
  Index();
}

void SettingsText::Index() {
  settings_.clear();
  sections_.clear();
  std::string current;
  std::size_t currentFirst = kNone;  // index into sections_ when this block is its name's first one
  bool inAnySection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view text = lines_[i].text;
    if (const auto name = HeaderName(text)) {
      current = std::string(*name);
      inAnySection = true;
      currentFirst = kNone;
      bool known = false;
      for (const Section& s : sections_) known = known || SameName(s.name, current);
      if (!known) {
        sections_.push_back({current, i, i});
        currentFirst = sections_.size() - 1;
      }
      continue;
    }
    if (IsComment(text)) continue;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    if (!inAnySection && currentFirst == kNone) {
      // Settings before the first header belong to a section without a name.
      sections_.push_back({"", kNone, i});
      currentFirst = sections_.size() - 1;
      inAnySection = true;
    }
    settings_.push_back({current, std::string(Trimmed(text.substr(0, equals))), i});
    if (currentFirst != kNone) sections_[currentFirst].lastSetting = i;
  }
}

const SettingsText::Setting* SettingsText::FindSetting(std::string_view section, std::string_view key) const {
  for (const Setting& s : settings_) {
    if (SameName(s.section, section) && SameName(s.key, key)) return &s;
  }
  return nullptr;
}

std::optional<std::string> SettingsText::Value(std::string_view section, std::string_view key) const {
  const Setting* setting = FindSetting(section, key);
  if (!setting) return std::nullopt;
  const std::string_view text = lines_[setting->line].text;
  return std::string(Trimmed(text.substr(text.find('=') + 1)));
}

// A line that a new one is to follow gets a line end if it has none, and its lone CR becomes CR LF
// (a line after a lone CR would otherwise read as part of it).
void SettingsText::EndLine(Line& line, const std::string& end) {
  if (line.end.empty()) line.end = end;
  if (line.end == "\r") line.end = "\r\n";
}

std::string SettingsText::LineEnd() const {
  for (const Line& line : lines_) {
    if (line.end == "\n" || line.end == "\r\n") return line.end;
  }
  return "\n";
}

void SettingsText::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string oneLine = OneLine(value);
  if (const Setting* setting = FindSetting(section, key)) {
    std::string& text = lines_[setting->line].text;
    const std::string_view stored = Trimmed(std::string_view(text).substr(text.find('=') + 1));
    if (stored == value || stored == oneLine) return;
    // Keep the key as it is spelt and the blanks after "=".
    std::size_t valueStart = text.find('=') + 1;
    while (valueStart < text.size() && IsBlank(text[valueStart])) ++valueStart;
    text = text.substr(0, valueStart) + oneLine;
    return;
  }
  const std::string end = LineEnd();
  Line added{std::string(key) + "=" + oneLine, end};
  for (const Section& s : sections_) {
    if (!SameName(s.name, section)) continue;
    EndLine(lines_[s.lastSetting], end);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(s.lastSetting + 1), std::move(added));
    Index();
    return;
  }
  if (!lines_.empty()) EndLine(lines_.back(), end);
  if (section.empty()) {
    // A setting without a section goes before the first header.
    lines_.insert(lines_.begin(), std::move(added));
  } else {
    lines_.push_back({"[" + std::string(section) + "]", end});
    lines_.push_back(std::move(added));
  }
  Index();
}

std::string SettingsText::Text() const {
  std::size_t size = bom_.size();
  for (const Line& line : lines_) size += line.text.size() + line.end.size();
  std::string text;
  text.reserve(size);
  text += bom_;
  for (const Line& line : lines_) {
    text += line.text;
    text += line.end;
  }
  return text;
}

}  // namespace varnok

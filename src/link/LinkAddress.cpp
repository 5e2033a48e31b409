#include "link/LinkAddress.h"

#include <cctype>
#include <charconv>

#include "link/SerialDeviceName.h"

namespace varnok {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

}  // namespace

std::string PrepareAddressText(std::string_view ipText) {
  std::string_view text = ipText;
  if (StartsWithNoCase(text, "http")) {
    const auto slashes = text.find("//");
    if (slashes != std::string_view::npos) text.remove_prefix(slashes + 2);
  }
  if (text.ends_with('/')) text.remove_suffix(1);
  return std::string(text);
}

std::optional<int> ParsePortText(std::string_view text) {
  if (text.starts_with('+')) text.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

LinkAddress InterpretAddress(std::string_view ipText) {
  LinkAddress address;
  const std::string prepared = PrepareAddressText(ipText);
  if (StartsWithNoCase(prepared, "COM") || IsSerialDevicePath(ipText)) {
    address.serial = true;
    address.device = SerialDeviceName(ipText);
    return address;
  }
  address.host = prepared;
  const auto colon = prepared.rfind(':');
  if (colon != std::string::npos) {
    const std::string_view digits = std::string_view(prepared).substr(colon + 1);
    const bool allDigits = !digits.empty() && digits.size() <= 5 &&
                           digits.find_first_not_of("0123456789") == std::string_view::npos;
    if (allDigits) {
      const int port = std::stoi(std::string(digits));
      if (port >= 1 && port <= 65535) {
        address.port = port;
        address.host = prepared.substr(0, colon);
      }
    }
  }
  return address;
}

}  // namespace varnok

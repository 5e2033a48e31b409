#include "link/AddressList.h"

#include <algorithm>

namespace varnok {

bool RememberAddress(std::vector<std::string>& list, const std::string& text, int selectedIndex) {
  if (selectedIndex >= 0 && static_cast<std::size_t>(selectedIndex) < list.size() &&
      list[selectedIndex] == text)
    return false;
  if (std::find(list.begin(), list.end(), text) != list.end()) return false;
  list.insert(list.begin(), text);
  if (list.size() > kAddressListLimit) list.pop_back();
  return true;
}

}  // namespace varnok

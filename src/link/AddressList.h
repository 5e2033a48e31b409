#pragma once
#include <string>
#include <vector>

namespace varnok {

inline constexpr std::size_t kAddressListLimit = 20;

// Records an address after a successful connection, newest first. Nothing changes when the text is the
// list's selected entry (`selectedIndex`, -1 for none) or already in the list (letter case counts).
// Otherwise the text becomes the first entry, and when the list then holds more than 20 entries the last
// one is removed (one only: a longer list from the settings file shrinks by one per new address).
// Returns whether the text was added.
bool RememberAddress(std::vector<std::string>& list, const std::string& text, int selectedIndex);

}  // namespace varnok

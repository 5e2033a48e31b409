#pragma once
#include <filesystem>

namespace varnok {

// Whether the platform treats a folder entry as hidden or as a system file (file lists leave those
// out). One implementation per platform.
bool IsHiddenOrSystemFile(const std::filesystem::directory_entry& entry);

}  // namespace varnok

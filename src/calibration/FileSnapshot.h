#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace varnok {

// A private copy of a file's bytes in an unnamed temporary file that no other program can reach and
// that goes when it is closed (or the program ends), read back a few lines at a time. It keeps the text
// of a displayed file as it was when read, whatever happens to the file afterwards, without holding the
// text in memory. One implementation per platform.
class FileSnapshot {
 public:
  // A new, empty snapshot in the system's temporary folder; nothing when none can be made.
  static std::unique_ptr<FileSnapshot> Create();
  virtual ~FileSnapshot() = default;

  // Adds bytes at the end; false when they could not all be written (the disk is full).
  virtual bool Append(const char* bytes, std::size_t count) = 0;
  // Up to `count` bytes from `offset`; fewer at the end. Safe to call from several threads.
  virtual std::string Read(std::uint64_t offset, std::size_t count) const = 0;
  virtual std::uint64_t Size() const = 0;
};

}  // namespace varnok

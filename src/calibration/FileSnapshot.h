#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace varnok {

// A private copy of a file's bytes in an unnamed temporary file that no other program can reach and
// that goes when it is closed (or the program ends), read back a few lines at a time. It keeps the text
// of a displayed file as it was when read, whatever happens to the file afterwards, without holding the
// text in memory. The loops are shared; each platform only writes and reads one stretch at a place.
class FileSnapshot {
 public:
  // A new, empty snapshot in the system's temporary folder; nothing when none can be made.
  static std::unique_ptr<FileSnapshot> Create();
  virtual ~FileSnapshot() = default;

  // Adds bytes at the end; false when they could not all be written (the disk is full).
  bool Append(const char* bytes, std::size_t count);
  // Up to `count` bytes from `offset`; fewer at the end. Safe to call from several threads.
  std::string Read(std::uint64_t offset, std::size_t count) const;
  std::uint64_t Size() const { return size_; }

 protected:
  // Writes some of `count` bytes at `offset` and returns how many (0 on failure).
  virtual std::size_t WriteSome(const char* bytes, std::size_t count, std::uint64_t offset) = 0;
  // Reads up to `count` bytes from `offset` and returns how many (0 at the end or on failure).
  virtual std::size_t ReadSome(char* bytes, std::size_t count, std::uint64_t offset) const = 0;

 private:
  std::uint64_t size_ = 0;
};

}  // namespace varnok

#pragma once
#include <cstddef>
#include <span>

namespace varnok {

class PagePopulator;

// A growing array of doubles in one place in memory that uses only what it holds: its address space is
// set aside up front (`maxCount` values; it moves to a larger reservation only if that runs out) and
// memory is committed in steps as it fills, so a long campaign never holds two copies while growing and
// hands all of its memory back when it goes. Throws std::bad_alloc when the system has no more memory.
class PointArray {
 public:
  PointArray() = default;
  explicit PointArray(std::size_t maxCount);
  ~PointArray();
  PointArray(PointArray&& other) noexcept;
  PointArray& operator=(PointArray&& other) noexcept;
  PointArray(const PointArray&) = delete;
  PointArray& operator=(const PointArray&) = delete;

  void push_back(double value) {
    if (size_ == committed_) Grow();
    data_[size_++] = value;
  }
  void pop_back() { --size_; }
  void Append(const double* values, std::size_t count);
  void clear() { size_ = 0; }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const double* data() const { return data_; }
  double* data() { return data_; }
  double operator[](std::size_t i) const { return data_[i]; }
  double& operator[](std::size_t i) { return data_[i]; }
  double front() const { return data_[0]; }
  double back() const { return data_[size_ - 1]; }
  const double* begin() const { return data_; }
  const double* end() const { return data_ + size_; }
  operator std::span<const double>() const { return {data_, size_}; }
  // How many values the array will most likely hold in the end (0: not known). Near that count it grows
  // in small steps, so that little memory is taken beyond the last value.
  void ExpectCount(std::size_t count) { expected_ = count; }
  // While set, the memory for the next values is backed ahead on the populator's thread, which must
  // outlive the array's growing (nullptr: backed here, as it fills).
  void PopulateWith(PagePopulator* populator) { populator_ = populator; }
  // Memory the values written so far occupy.
  std::size_t BytesInUse() const { return size_ * sizeof(double); }

 private:
  void Grow();
  // Commits the next step of memory from byte `from` and returns its size; backs it at once when asked.
  std::size_t CommitAt(std::size_t from, bool backHere);
  void Release();

  void* base_ = nullptr;  // the reservation, a little larger than the aligned part
  std::size_t baseBytes_ = 0;
  double* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t committed_ = 0;  // values
  std::size_t reserved_ = 0;   // values
  bool largePages_ = false;
  bool smallTail_ = false;    // the part beyond the expected end is backed by ordinary pages
  std::size_t expected_ = 0;  // values
  std::size_t prepared_ = 0;  // values committed ahead and handed to the populator
  PagePopulator* populator_ = nullptr;
};

}  // namespace varnok

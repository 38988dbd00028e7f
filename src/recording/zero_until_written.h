// A value that lives on the heap only once something writes it and reads as
// a value-initialised T until then, so a large field costs one pointer in
// the many records that never get it. Copies are deep and independent.
#pragma once

#include <memory>

namespace morvane {

template <typename T>
class ZeroUntilWritten {
 public:
  ZeroUntilWritten() = default;
  ZeroUntilWritten(const ZeroUntilWritten& other)
      : block_(other.block_ ? std::make_unique<T>(*other.block_) : nullptr) {}
  ZeroUntilWritten& operator=(const ZeroUntilWritten& other) {
    if (this == &other) return *this;
    if (!other.block_) {
      block_.reset();
    } else if (block_) {
      *block_ = *other.block_;
    } else {
      block_ = std::make_unique<T>(*other.block_);
    }
    return *this;
  }
  ZeroUntilWritten(ZeroUntilWritten&&) noexcept = default;
  ZeroUntilWritten& operator=(ZeroUntilWritten&&) noexcept = default;

  const T& read() const { return block_ ? *block_ : zero(); }
  T& write() {
    if (!block_) block_ = std::make_unique<T>();
    return *block_;
  }
  bool allocated() const { return block_ != nullptr; }

 private:
  static const T& zero() {
    static const T value{};
    return value;
  }
  std::unique_ptr<T> block_;
};

}  // namespace morvane

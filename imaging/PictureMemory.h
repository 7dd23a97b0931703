#pragma once
// Memory for whole pictures. Blocks of a few megabytes and more go on
// transparent huge pages: a fresh 4000 x 3000 picture then takes a few dozen
// page faults instead of tens of thousands, which a virtual machine pays
// dearly for.
#include <QtGlobal>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

// At least `bytes`, aligned for any pixel, freed by std::free; null when none can be had.
void *allocatePictureMemory(std::size_t bytes);

// For std::vector: picture memory whose elements are left as they are, since
// whoever resizes a picture writes every byte of it.
template <class T>
struct PictureAllocator {
  using value_type = T;
  PictureAllocator() = default;
  template <class U>
  PictureAllocator(const PictureAllocator<U> &) {}
  T *allocate(std::size_t n) {
    if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
    if (void *block = allocatePictureMemory(n * sizeof(T))) return static_cast<T *>(block);
    throw std::bad_alloc();
  }
  void deallocate(T *block, std::size_t) { std::free(block); }
  template <class U>
  void construct(U *at) {
    ::new (static_cast<void *>(at)) U;
  }
  template <class U, class... Arguments>
  void construct(U *at, Arguments &&...arguments) {
    ::new (static_cast<void *>(at)) U(std::forward<Arguments>(arguments)...);
  }
  template <class U>
  bool operator==(const PictureAllocator<U> &) const {
    return true;
  }
};

// One block kept from one picture to the next, grown when a picture needs more.
class PictureBlock {
 public:
  // At least `bytes`, its content left from before; null when memory ran out.
  uchar *reserve(std::size_t bytes);

 private:
  struct Free {
    void operator()(void *block) const { std::free(block); }
  };
  std::unique_ptr<void, Free> _block;
  std::size_t _bytes = 0;
};

#pragma once
// Deprecated: use canny::Detector from <canny/canny.h>, which also takes row
// strides, a separate output and cancellation. Kept, with its layout, for the
// programs built against it.
#include <cstdint>
#include <memory>

class EdgeDetector {
 public:
  EdgeDetector() noexcept;
  ~EdgeDetector();
  EdgeDetector(EdgeDetector &&) noexcept;
  EdgeDetector &operator=(EdgeDetector &&) noexcept;
  EdgeDetector(const EdgeDetector &) = delete;
  EdgeDetector &operator=(const EdgeDetector &) = delete;

  // Overwrites the width x height gray bytes (rows one after another, no
  // padding) with their edge map, as cannyEdgeDetector does, keeping the
  // working memory for the next call. A width or height of 0 or less touches
  // no byte. False when working memory could not be had or data is null with
  // a positive size; the buffer is then unchanged.
  bool detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
              std::int32_t height, std::uint8_t *data);

  // Hands the working memory back; the next detect takes it anew.
  void releaseMemory();

 private:
  struct Memory;
  std::unique_ptr<Memory> _memory;
};

#pragma once
// The Canny edge detector as an object that keeps its working memory from one
// call to the next, for callers that detect again and again (repeated
// Applies, camera frames, batches of pictures). It holds about four bytes
// per pixel of the largest picture it has seen until releaseMemory. One
// detector serves one thread at a time; use one per thread.
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
  // padding) with their edge map: 255 on edge pixels, 0 elsewhere. Smooths
  // with sigma/steps, takes Sobel gradients, cuts magnitudes below t1, thins
  // them and links them by hysteresis (t1 low, t2 high). A width or height of
  // 0 or less touches no byte. False when working memory could not be had; the
  // buffer is then unchanged.
  bool detect(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
              std::int32_t height, std::uint8_t *data);

  // Hands the working memory back; the next detect takes it anew.
  void releaseMemory();

 private:
  struct Memory;
  std::unique_ptr<Memory> _memory;
};

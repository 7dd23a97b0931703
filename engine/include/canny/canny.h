#pragma once
// The Canny edge detector over 8-bit gray pictures.
//
// Each call smooths the picture with a recursive Gaussian (sigma, steps),
// takes Sobel gradients scaled by 1/8, drops magnitudes below t1, thins the
// rest to one-pixel ridges along the gradient and links them by hysteresis: a
// magnitude of at least t2 starts an edge, which is followed through
// 8-neighbours above t1. The edge map holds 255 on edge pixels, 0 elsewhere.
//
// Threshold scale: gradients are the Sobel sums divided by 8, so a step of
// one gray level between two flat regions has magnitude 0.5, and a step of
// 255 has 127.5. OpenCV's cv::Canny with L2gradient takes the undivided Sobel
// sums: its thresholds are 8 times ours (our t1 2, t2 6 are its 16, 48).
//
// Borders: the picture is continued beyond its edges by its nearest pixel
// (every cell of the one-cell frame, corners included, repeats the pixel next
// to it), so a flat picture has no edges, also along its border. Smoothing
// likewise continues each row and column with its end pixel.
//
// Results are exact: the same input and settings give the same edge map
// byte for byte, whatever the machine, its vector units or the thread count.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace canny {

// The detector's four settings, with the defaults used throughout.
struct Settings {
  float t1 = 2.0f;         // low threshold: magnitudes below it are never edges
  float t2 = 6.0f;         // high threshold: a magnitude of at least t2 starts an edge
  float sigma = 2.0f;      // smoothing width in pixels; 0 or less smooths not at all
  std::int32_t steps = 4;  // smoothing passes; 0 or less smooths not at all
};

// A picture in memory: height rows of width bytes, row y starting at
// data + y * stride. The stride may exceed the width (padded rows) or be
// negative (rows stored bottom up), but |stride| must be at least width.
// data may be null only when width or height is 0.
struct ConstImageView {
  const std::uint8_t *data;
  std::int32_t width;
  std::int32_t height;
  std::ptrdiff_t stride;
};
struct ImageView {
  std::uint8_t *data;
  std::int32_t width;
  std::int32_t height;
  std::ptrdiff_t stride;
};

enum class Status {
  ok,               // the output holds the edge map
  invalidArgument,  // a view was malformed or the sizes differ; nothing was touched
  outOfMemory,      // working memory could not be had; the output is unchanged
  cancelled,        // Detector::cancel stopped the call; the output's bytes are unspecified
};
// A short English description of a status, never null.
const char *statusMessage(Status status);

// Writes the edge map of `input` into `output`. The two views must have the
// same width and height. They may be the same memory (in place, with the same
// stride) or overlap in any way: the input is read whole before the output is
// written. A width or height of 0 touches nothing and returns ok.
// invalidArgument, with nothing read or written, for: a null data pointer
// with a positive size, a negative width or height, |stride| < width, or
// views of different sizes. Settings are taken as given, never refused.
// Allocates its working memory (about 4 bytes a pixel) and frees it again;
// use a Detector to keep it across calls. Blocks of megabytes are freed
// lazily (MADV_FREE): the system reclaims them whenever it needs the memory,
// and until then the next call reuses the largest one without faulting its
// pages in again.
Status detectEdges(ConstImageView input, ImageView output, const Settings &settings = {});

// Readies the working memory detectEdges takes for a width x height picture,
// for a call to come: the largest block is faulted in now and freed lazily
// as detectEdges frees it, so that the call finds its pages in place. Keeps
// no more than a detectEdges of that size would. Once `stop` (when given) is
// set, returns cancelled, what is ready staying ready. invalidArgument for a
// negative width or height; outOfMemory when the memory cannot be had.
Status prepareMemory(std::int32_t width, std::int32_t height,
                     const std::atomic<bool> *stop = nullptr);

// The detector as an object that keeps its working memory from one call to the
// next (repeated pictures, camera frames, batches). One thread at a time may
// call detect and releaseMemory; cancel may be called from any thread.
class Detector {
 public:
  Detector() noexcept;
  ~Detector();
  Detector(Detector &&) noexcept;
  Detector &operator=(Detector &&) noexcept;
  Detector(const Detector &) = delete;
  Detector &operator=(const Detector &) = delete;

  // As detectEdges, with the memory kept.
  Status detect(ConstImageView input, ImageView output, const Settings &settings = {});

  // Hands the working memory back, and the block detectEdges last freed
  // lazily; the next detect takes it anew.
  void releaseMemory();

  // From any thread: the running detect stops within milliseconds and returns
  // cancelled. When no detect is running, the next one returns cancelled at
  // once, so a cancel is never lost; the detect it stops consumes it.
  void cancel() noexcept;

 private:
  struct Memory;
  std::unique_ptr<Memory> _memory;
  std::atomic<bool> _cancelled{false};
};

// The number of threads the detector splits a picture over, for the whole
// process. 0 (or less) restores the default: the CPUs this process may run
// on, after its CPU affinity and its cgroup's cpu.max quota (rounded up, at
// least 1); at most 64. Takes effect from the next call; the edge maps do not
// change.
void setThreadCount(int count);
// The count now in effect (the default resolved), at least 1.
int threadCount();

// The library's version at run time; the macros of <canny/version.h> give the
// version a program was compiled against.
struct Version {
  int major, minor, patch;
};
Version version();

}  // namespace canny

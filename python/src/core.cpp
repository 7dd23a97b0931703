// canny_engine._core: the edge detector over NumPy arrays; canny_engine/__init__.py is its face.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "engine/EdgeDetector.h"
#include "engine/cannyEngineVersion.h"

namespace py = pybind11;
using namespace py::literals;

namespace {

// Detectors keep their working memory between calls (about four bytes a pixel of the largest
// picture each has seen); a call borrows an idle one, so release() can free every idle one.
class DetectorPool {
 public:
  std::unique_ptr<EdgeDetector> take() {
    std::lock_guard lock(_mutex);
    if (_idle.empty()) return std::make_unique<EdgeDetector>();
    std::unique_ptr<EdgeDetector> detector = std::move(_idle.back());
    _idle.pop_back();
    return detector;
  }
  void give(std::unique_ptr<EdgeDetector> detector) {
    std::lock_guard lock(_mutex);
    _idle.push_back(std::move(detector));
  }
  void release() {
    std::lock_guard lock(_mutex);
    _idle.clear();
  }

 private:
  std::mutex _mutex;
  std::vector<std::unique_ptr<EdgeDetector>> _idle;
};

DetectorPool &detectors() {
  static DetectorPool *pool = new DetectorPool;  // never destroyed: threads may outlive exit
  return *pool;
}

// How often a waiting call looks for Ctrl-C and other signals.
constexpr auto kSignalPoll = std::chrono::milliseconds(50);

py::array_t<std::uint8_t> detect(const py::array &image, float t1, float t2, float sigma,
                                 std::int32_t steps) {
  if (image.dtype().kind() != 'u' || image.dtype().itemsize() != 1)
    throw py::type_error("image must be a numpy.uint8 array, not " +
                         std::string(py::str(image.dtype())));
  if (image.ndim() != 2)
    throw py::value_error("image must be 2-D (height, width), not " + std::to_string(image.ndim()) +
                          "-D");
  const py::ssize_t height = image.shape(0), width = image.shape(1);
  if (height == 0 || width == 0) throw py::value_error("image is empty");
  constexpr py::ssize_t kLongest = std::numeric_limits<std::int32_t>::max();
  if (height > kLongest || width > kLongest)
    throw py::value_error("image sides must be at most 2**31 - 1");

  // A fresh C-contiguous copy whatever the strides: the detector works in place.
  py::array_t<std::uint8_t> edges = py::module_::import("numpy").attr("array")(
      image, "dtype"_a = "uint8", "order"_a = "C", "copy"_a = true);
  std::uint8_t *data = edges.mutable_data();
  std::unique_ptr<EdgeDetector> detector = detectors().take();
  bool done = false, interrupted = false;
  {
    // The detector runs on a thread of its own, so that this one can answer signals.
    py::gil_scoped_release unlocked;
    std::packaged_task<bool()> work(
        [&] { return detector->detect(t1, t2, sigma, steps, int(width), int(height), data); });
    std::future<bool> result = work.get_future();
    std::thread worker(std::move(work));
    while (result.wait_for(kSignalPoll) != std::future_status::ready) {
      py::gil_scoped_acquire locked;
      if (PyErr_CheckSignals() != 0) {
        interrupted = true;
        break;
      }
    }
    worker.join();
    done = result.get();
  }
  detectors().give(std::move(detector));
  if (interrupted) throw py::error_already_set();
  if (!done) throw std::bad_alloc();
  return edges;
}

}  // namespace

PYBIND11_MODULE(_core, module) {
  module.doc() = "The compiled edge detector behind canny_engine.";
  module.attr("version") = CANNY_ENGINE_VERSION_STRING;
  module.attr("defaults") = py::make_tuple(2.0f, 6.0f, 2.0f, 4);
  module.def("detect", &detect, "image"_a, "t1"_a, "t2"_a, "sigma"_a, "steps"_a);
  module.def("release_memory", [] { detectors().release(); });
}

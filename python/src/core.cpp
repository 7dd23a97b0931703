// canny_engine._core: the edge detector over NumPy arrays; canny_engine/__init__.py is its face.
#include <canny/canny.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace py = pybind11;
using namespace py::literals;

namespace {

// Detectors keep their working memory between calls (about four bytes a pixel of the largest
// picture each has seen); a call borrows an idle one, so release() can free every idle one.
class DetectorPool {
 public:
  std::unique_ptr<canny::Detector> take() {
    std::lock_guard lock(_mutex);
    if (_idle.empty()) return std::make_unique<canny::Detector>();
    std::unique_ptr<canny::Detector> detector = std::move(_idle.back());
    _idle.pop_back();
    return detector;
  }
  void give(std::unique_ptr<canny::Detector> detector) {
    std::lock_guard lock(_mutex);
    _idle.push_back(std::move(detector));
  }
  void release() {
    std::lock_guard lock(_mutex);
    _idle.clear();
  }

 private:
  std::mutex _mutex;
  std::vector<std::unique_ptr<canny::Detector>> _idle;
};

DetectorPool &detectors() {
  static DetectorPool *pool = new DetectorPool;  // never destroyed: threads may outlive exit
  return *pool;
}

// How often a waiting call looks for Ctrl-C and other signals.
constexpr auto kSignalPoll = std::chrono::milliseconds(50);

// Runs the detector on a thread of its own while this one, with the interpreter lock, answers
// signals: a handler that raises (Ctrl-C's KeyboardInterrupt) cancels the detector and is
// raised here.
canny::Status detectAnswering(canny::Detector &detector, canny::ConstImageView in,
                              canny::ImageView out, const canny::Settings &settings) {
  bool interrupted = false;
  canny::Status status;
  {
    py::gil_scoped_release unlocked;
    std::packaged_task<canny::Status()> work([&] { return detector.detect(in, out, settings); });
    std::future<canny::Status> result = work.get_future();
    std::thread worker(std::move(work));
    while (!interrupted && result.wait_for(kSignalPoll) != std::future_status::ready) {
      py::gil_scoped_acquire locked;
      interrupted = PyErr_CheckSignals() != 0;
    }
    if (interrupted) detector.cancel();
    worker.join();
    status = result.get();
  }
  if (interrupted) throw py::error_already_set();
  return status;
}

py::array_t<std::uint8_t> detect(py::array image, float t1, float t2, float sigma,
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

  // Rows of adjacent bytes are read where they lie (bottom-up ones too); other layouts are
  // copied first.
  if (image.strides(1) != 1 || std::abs(image.strides(0)) < width)
    image = py::module_::import("numpy").attr("ascontiguousarray")(image);
  py::array_t<std::uint8_t> edges({height, width});
  const canny::ConstImageView in{static_cast<const std::uint8_t *>(image.data()),
                                 std::int32_t(width), std::int32_t(height), image.strides(0)};
  const canny::ImageView out{edges.mutable_data(), std::int32_t(width), std::int32_t(height),
                             width};
  std::unique_ptr<canny::Detector> detector = detectors().take();
  const canny::Status status = detectAnswering(*detector, in, out, {t1, t2, sigma, steps});
  // An interrupted call never comes here: its detector, which may still hold the cancel, goes.
  detectors().give(std::move(detector));
  if (status == canny::Status::outOfMemory) throw std::bad_alloc();
  if (status != canny::Status::ok) throw std::runtime_error(canny::statusMessage(status));
  return edges;
}

}  // namespace

PYBIND11_MODULE(_core, module) {
  module.doc() = "The compiled edge detector behind canny_engine.";
  const canny::Version version = canny::version();
  module.attr("version") = std::to_string(version.major) + "." + std::to_string(version.minor) +
                           "." + std::to_string(version.patch);
  const canny::Settings defaults;
  module.attr("defaults") =
      py::make_tuple(defaults.t1, defaults.t2, defaults.sigma, defaults.steps);
  module.def("detect", &detect, "image"_a, "t1"_a, "t2"_a, "sigma"_a, "steps"_a);
  module.def("release_memory", [] { detectors().release(); });
  module.def("set_threads", &canny::setThreadCount, "count"_a);
  module.def("threads", &canny::threadCount);
}

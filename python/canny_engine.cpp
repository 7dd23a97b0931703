// canny_engine: the edge detector over NumPy arrays.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <limits>
#include <new>

#include <canny/canny.h>
#include <canny/version.h>

namespace py = pybind11;
using namespace py::literals;

namespace {

constexpr const char *kModuleDoc = R"(Exact Canny edge detection for 8-bit gray NumPy arrays.

detect(image) returns the edge map of a 2-D uint8 array: 255 on edge pixels,
0 elsewhere. The result is byte for byte what the canny command-line tool and
the Canny Demo application give for the same picture and values.)";

constexpr const char *kDetectDoc =
    R"(detect(image, t1=2.0, t2=6.0, sigma=2.0, steps=4) -> numpy.ndarray

Returns the Canny edge map of `image`, a 2-D numpy.uint8 array of any strides
(rows are y, columns x), as a new C-contiguous uint8 array of the same shape
holding 255 on edge pixels and 0 elsewhere. `image` itself is never changed.

t1     low threshold: gradient magnitudes below it are never edges.
t2     high threshold: a magnitude of at least t2 starts an edge, which is
       then followed through neighbouring pixels whose magnitude is above t1.
sigma  smoothing width of the recursive Gaussian; 0 smooths not at all.
steps  number of smoothing passes.

The values reach the detector as 32-bit floats and a 32-bit integer, as the
application's sliders give them. The interpreter lock is released while the
detector runs, so threads working on different pictures run in parallel.

Raises TypeError for an array that is not uint8, ValueError for one that is
not 2-D, is empty or has a side longer than 2**31 - 1, and MemoryError when
the detector's working memory cannot be had.)";

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
  bool done = false;
  {
    py::gil_scoped_release unlocked;
    // One detector per thread keeps its working memory from call to call.
    thread_local canny::Detector detector;
    const canny::ImageView view{data, std::int32_t(width), std::int32_t(height), width};
    done = detector.detect({data, std::int32_t(width), std::int32_t(height), width}, view,
                           {t1, t2, sigma, steps}) == canny::Status::ok;
  }
  if (!done) throw std::bad_alloc();
  return edges;
}

}  // namespace

PYBIND11_MODULE(canny_engine, module) {
  module.doc() = kModuleDoc;
  module.attr("__version__") = CANNY_ENGINE_VERSION_STRING;
  const canny::Settings defaults;
  module.def("detect", &detect, kDetectDoc, "image"_a, "t1"_a = defaults.t1, "t2"_a = defaults.t2,
             "sigma"_a = defaults.sigma, "steps"_a = defaults.steps);
}

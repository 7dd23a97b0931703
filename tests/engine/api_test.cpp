// The public API: views with strides, in place or apart, refused arguments, cancellation and the
// thread count, each against the plain entry's edge map.
#include <canny/canny.h>
#include <canny/cannyEdgeDetector.h>
#include <canny/stages.h>
#include <gtest/gtest.h>
#include <sched.h>

#include <chrono>
#include <thread>

#include "TestPictures.h"
#include "UnderAddressSanitizer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using canny::Status;
constexpr int kWidth = 61, kHeight = 47;
const canny::Settings kSettings{1.0f, 4.0f, 1.5f, 3};

Bytes plainEdges(const Bytes &picture) {
  Bytes edges = picture;
  EXPECT_TRUE(tryCannyEdgeDetector(kSettings.t1, kSettings.t2, kSettings.sigma, kSettings.steps,
                                   kWidth, kHeight, edges.data()));
  return edges;
}

// The rows of `picture` laid out `stride` bytes apart (bottom up when negative) in a buffer of
// filler bytes; `first` is where row 0 starts.
struct Laid {
  Bytes buffer;
  std::ptrdiff_t stride, first;
  Laid(const Bytes &picture, std::ptrdiff_t stride) : stride(stride) {
    const std::ptrdiff_t step = stride < 0 ? -stride : stride;
    buffer.assign(step * kHeight, 0xA5);
    first = stride < 0 ? step * (kHeight - 1) : 0;
    for (int y = 0; y < kHeight; ++y)
      std::copy_n(picture.begin() + y * kWidth, kWidth, buffer.begin() + first + y * stride);
  }
  std::uint8_t *data() { return buffer.data() + first; }
  canny::ImageView view() { return {data(), kWidth, kHeight, stride}; }
  Bytes rows() {
    Bytes out;
    for (int y = 0; y < kHeight; ++y)
      out.insert(out.end(), data() + y * stride, data() + y * stride + kWidth);
    return out;
  }
  // The padding between rows, which no call may touch.
  bool paddingUntouched() {
    Bytes copy = buffer;
    for (int y = 0; y < kHeight; ++y) std::fill_n(copy.begin() + first + y * stride, kWidth, 0xA5);
    return std::all_of(copy.begin(), copy.end(), [](std::uint8_t b) { return b == 0xA5; });
  }
};

}  // namespace

TEST(Api, StridesInPlaceAndApartGiveThePlainEdgeMap) {
  std::mt19937 rng(71);
  const Bytes picture = randomPicture(kWidth, kHeight, rng), expected = plainEdges(picture);
  canny::Detector detector;
  for (std::ptrdiff_t inStride : {kWidth, kWidth + 9, -kWidth, -(kWidth + 3)})
    for (std::ptrdiff_t outStride : {kWidth, kWidth + 5, -(kWidth + 1)}) {
      SCOPED_TRACE(testing::Message() << "strides " << inStride << ", " << outStride);
      Laid in(picture, inStride), out(Bytes(picture.size(), 0), outStride);
      const canny::ImageView i = in.view(), o = out.view();
      EXPECT_EQ(detector.detect({i.data, kWidth, kHeight, inStride}, o, kSettings), Status::ok);
      EXPECT_EQ(out.rows(), expected);
      EXPECT_EQ(in.rows(), picture) << "the input was changed";
      EXPECT_TRUE(out.paddingUntouched());
      Laid plain(Bytes(picture.size(), 0), outStride);
      EXPECT_EQ(
          canny::detectEdgesPlainly({i.data, kWidth, kHeight, inStride}, plain.view(), kSettings),
          Status::ok);
      EXPECT_EQ(plain.rows(), expected) << "the plain pipeline";
    }
  Laid same(picture, kWidth + 7);
  const canny::ImageView v = same.view();
  EXPECT_EQ(canny::detectEdges({v.data, kWidth, kHeight, v.stride}, v, kSettings), Status::ok);
  EXPECT_EQ(same.rows(), expected) << "in place";
  EXPECT_TRUE(same.paddingUntouched());
}

TEST(Api, MalformedViewsAreRefusedUntouched) {
  Bytes buffer(kWidth * kHeight, 7);
  std::uint8_t *d = buffer.data();
  const canny::ImageView good{d, kWidth, kHeight, kWidth};
  const canny::ConstImageView bad[] = {{nullptr, kWidth, kHeight, kWidth},
                                       {d, kWidth, kHeight, kWidth - 1},
                                       {d, kWidth, kHeight, -(kWidth - 1)},
                                       {d, -1, kHeight, kWidth},
                                       {d, kWidth, -1, kWidth},
                                       {d, kWidth - 1, kHeight, kWidth}};
  canny::Detector detector;
  for (const canny::ConstImageView &in : bad) {
    EXPECT_EQ(detector.detect(in, good), Status::invalidArgument) << in.width << " " << in.stride;
    const canny::ImageView out{const_cast<std::uint8_t *>(in.data), in.width, in.height, in.stride};
    EXPECT_EQ(canny::detectEdges({d, kWidth, kHeight, kWidth}, out), Status::invalidArgument);
  }
  float value = 0;
  EXPECT_EQ(canny::computeStage(bad[0], canny::Stage::smoothed, &value), Status::invalidArgument);
  EXPECT_EQ(buffer, Bytes(buffer.size(), 7));
  EXPECT_FALSE(tryCannyEdgeDetector(2, 6, 2, 4, 10, 10, nullptr));
  cannyEdgeDetector(2, 6, 2, 4, 10, 10, nullptr);  // does nothing
  EXPECT_TRUE(tryCannyEdgeDetector(2, 6, 2, 4, 0, 10, nullptr)) << "an empty picture is no error";
  EXPECT_EQ(detector.detect({nullptr, 0, 5, 0}, {nullptr, 0, 5, 0}), Status::ok);
  EXPECT_EQ(canny::prepareMemory(kWidth, -1), Status::invalidArgument);
  EXPECT_STREQ(canny::statusMessage(Status::invalidArgument), "invalid argument");
}

TEST(Api, SectorStageNamesTheNeighboursThinningCompares) {
  // A step from 0 to 200 across the line where `side` changes sign: its middle
  // pixel's gradient points across it, into one of the four sectors.
  const auto sectorAcross = [](auto side) {
    constexpr int kSide = 9;
    Bytes picture(kSide * kSide);
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) picture[y * kSide + x] = side(x - 4, y - 4) > 0 ? 200 : 0;
    std::vector<float> sectors(picture.size());
    EXPECT_EQ(canny::computeStage({picture.data(), kSide, kSide, kSide}, canny::Stage::sector,
                                  sectors.data(), {1, 2, 0, 0}),
              Status::ok);
    return std::pair(sectors[4 * kSide + 4], sectors[0]);  // the middle, and a flat corner
  };
  EXPECT_EQ(sectorAcross([](int x, int) { return 2 * x + 1; }), std::pair(1.0f, 1.0f));
  EXPECT_EQ(sectorAcross([](int x, int y) { return 2 * (x + y) + 1; }).first, 2.0f);
  EXPECT_EQ(sectorAcross([](int, int y) { return 2 * y + 1; }).first, 3.0f);
  EXPECT_EQ(sectorAcross([](int x, int y) { return 2 * (x - y) + 1; }).first, 4.0f);
}

TEST(Api, CancelStopsTheRunningDetectionSoonAndOnlyIt) {
  const int side = 3000;
  Bytes picture(side * side);
  std::mt19937 rng(73);
  for (auto &b : picture) b = static_cast<std::uint8_t>(rng());
  canny::Detector detector;
  const canny::ImageView view{picture.data(), side, side, side};
  detector.cancel();  // before it runs: the next detection is the one stopped
  EXPECT_EQ(detector.detect({picture.data(), side, side, side}, view), Status::cancelled);
  using Clock = std::chrono::steady_clock;
  Clock::time_point cancelled;
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    cancelled = Clock::now();
    detector.cancel();
  });
  const canny::Settings slow{2, 6, 3, 100};
  EXPECT_EQ(detector.detect({picture.data(), side, side, side}, view, slow), Status::cancelled);
  const auto late = Clock::now() - cancelled;
  canceller.join();
  EXPECT_LT(late, std::chrono::milliseconds(ENGINE_TESTS_UNDER_ASAN ? 2000 : 250));
  Bytes small(9 * 9, 3);
  EXPECT_EQ(detector.detect({small.data(), 9, 9, 9}, {small.data(), 9, 9, 9}), Status::ok)
      << "a cancel stops one detection";
}

TEST(Api, ThreadCountIsSetAndDefaultsToTheAllowedCpus) {
  std::mt19937 rng(79);
  const Bytes picture = randomPicture(1500, 700, rng);
  Bytes one(picture.size()), three(picture.size());
  canny::setThreadCount(1);
  EXPECT_EQ(canny::threadCount(), 1);
  EXPECT_EQ(canny::detectEdges({picture.data(), 1500, 700, 1500}, {one.data(), 1500, 700, 1500}),
            Status::ok);
  canny::setThreadCount(3);
  EXPECT_EQ(canny::threadCount(), 3);
  // Memory readied beforehand (stopped at once, then whole) leaves the map as it was.
  const std::atomic<bool> stop{true};
  EXPECT_EQ(canny::prepareMemory(1500, 700, &stop), Status::cancelled);
  EXPECT_EQ(canny::prepareMemory(1500, 700), Status::ok);
  EXPECT_EQ(canny::detectEdges({picture.data(), 1500, 700, 1500}, {three.data(), 1500, 700, 1500}),
            Status::ok);
  EXPECT_EQ(one, three);
  // Pinned to one CPU, the default is one thread.
  std::thread([] {
    cpu_set_t all, first;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    CPU_ZERO(&first);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
      if (CPU_ISSET(cpu, &all)) {
        CPU_SET(cpu, &first);
        break;
      }
    ASSERT_EQ(sched_setaffinity(0, sizeof first, &first), 0);
    canny::setThreadCount(0);
    EXPECT_EQ(canny::threadCount(), 1);
  }).join();
  canny::setThreadCount(0);
}

// For builds without libFuzzer (GCC): runs a target once on every input file
// named on the command line, or in every folder named there. This way the
// code only GCC compiles, the engine's per-instruction-set clones of its hot
// loops, is checked on the corpus the fuzzer grew.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

void replay(const std::filesystem::path &file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char **argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    std::set<std::filesystem::path> files;  // sorted, so runs repeat exactly
    if (std::filesystem::is_directory(path)) {
      for (const auto &entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file()) files.insert(entry.path());
    } else {
      files.insert(path);
    }
    for (const auto &file : files) {
      replay(file);
      ++count;
    }
  }
  std::printf("%s: %zu inputs replayed, no finding\n", argv[0], count);
  return 0;
}

# Two entry points: `make run` builds and starts the program, `make test` builds and runs every test.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)

.PHONY: deps run test build bench clean install package

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run.sh $(BUILD)

test: build
	@# emscripten, Node and Chromium, for the web page's tests
	bash scripts/install-deps.sh --web
	bash scripts/check-format.sh
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCANNY_ENGINE_ONLY=ON -DCANNY_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# `make install PREFIX=/opt/canny`; `make package` builds the Debian packages from debian/
# (dpkg-buildpackage, a build of its own) and leaves them in $(BUILD)/packages.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: deps
	JOBS=$(JOBS) bash scripts/build-packages.sh $(BUILD)/packages

# The web page: the engine in WebAssembly and the static site in build-web/site, for any static
# file server (cd build-web/site && python3 -m http.server).
.PHONY: web
web:
	bash scripts/install-deps.sh --web
	emcmake cmake -S web -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build-web -j $(JOBS)

# Repetitions in shuffled order, medians reported: the machine is shared and noisy.
BENCH_REPS ?= 5
BENCH_ROUNDS ?= 5
BENCH_FLAGS = --benchmark_repetitions=$(BENCH_REPS) --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true
NO_AVX512_HWCAPS = -AVX512F,-AVX512VL,-AVX512BW,-AVX512DQ,-AVX512CD
bench:
	bash scripts/install-deps.sh --bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCANNY_BENCH=ON -DCANNY_ENGINE_ONLY=ON
	cmake --build build-bench -j $(JOBS) --target canny_bench
	build-bench/bench/canny_bench $(BENCH_FLAGS)
	@# On an AVX-512 processor, the AVX2 path again as processors without AVX-512 run it: the
	@# engine without its AVX-512 clone, OpenCV's and glibc's AVX-512 code turned off.
	@if grep -qw avx512f /proc/cpuinfo && grep -qw avx2 /proc/cpuinfo; then \
	  cmake --build build-bench -j $(JOBS) --target canny_bench_avx2 && \
	  echo "== The AVX2 path" && \
	  OPENCV_CPU_DISABLE=AVX512-SKX GLIBC_TUNABLES=glibc.cpu.hwcaps=$(NO_AVX512_HWCAPS) \
	    build-bench/bench/canny_bench_avx2 $(BENCH_FLAGS); fi
	cmake -S . -B build-bench-files -G Ninja -DCMAKE_BUILD_TYPE=Release -DCANNY_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build build-bench-files -j $(JOBS) --target canny canny_opencv_files canny_bench_pictures
	/usr/bin/python3 bench/files/fileBench.py build-bench-files $(BENCH_ROUNDS)

# The WebAssembly engine against OpenCV's WebAssembly build (npm, as locked in web/bench/) under
# Node, then the native engine and OpenCV on the same pictures for reference.
BENCH_WEB_FILTER = detector/(rocket|coins)/(640x480|4000x3000)/sigma2/(engine-kept|opencv-1thread)/
.PHONY: bench-web
bench-web: web
	@for pair in web/bench:bench-node web:test-node; do \
	  from=$${pair%%:*} to=build-web/$${pair##*:}; \
	  if ! cmp -s $$from/package-lock.json $$to/package-lock.json; then \
	    rm -rf $$to && mkdir -p $$to && cp $$from/package.json $$from/package-lock.json $$to/ && \
	    (cd $$to && npm ci --no-audit --no-fund --ignore-scripts) || exit 1; fi; done
	@echo "== $$(lscpu | sed -n 's/^Model name: *//p'), $$(nproc) CPUs, load average $$(cut -d' ' -f1-3 /proc/loadavg)"
	@echo "== SIMD flags: $$(lscpu | sed -n 's/^Flags: *//p' | tr ' ' '\n' | grep -E '^(sse4_2|avx2?|fma|avx512)' | tr '\n' ' ')"
	NODE_PATH=build-web/bench-node/node_modules node web/bench/run.js build-web/site bench/pictures
	NODE_PATH=build-web/bench-node/node_modules:build-web/test-node/node_modules CHROMIUM=$$(command -v chromium) \
	  node web/bench/chromium.js build-web/site bench/pictures
	bash scripts/install-deps.sh --bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCANNY_BENCH=ON -DCANNY_ENGINE_ONLY=ON
	cmake --build build-bench -j $(JOBS) --target canny_bench
	build-bench/bench/canny_bench $(BENCH_FLAGS) --benchmark_filter='$(BENCH_WEB_FILTER)'

# Each fuzz target for FUZZ_SECONDS (clang, libFuzzer); a crashing input lands in
# build-fuzz/findings/. Then the grown corpus is replayed through a GCC build, the only
# one with the engine's vector clones.
FUZZ_SECONDS ?= 60
FUZZ_ENGINE_TARGETS = fuzz_detector fuzz_detector_large fuzz_hysteresis
FUZZ_TARGETS = $(FUZZ_ENGINE_TARGETS) fuzz_picture_reader
.PHONY: fuzz
fuzz:
	bash scripts/install-deps.sh --fuzz
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCANNY_FUZZ=ON -DCANNY_ENGINE_ONLY=OFF
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	bash fuzz/run.sh build-fuzz $(FUZZ_SECONDS)
	cmake -S . -B build-fuzz/gcc -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ -DCANNY_FUZZ=ON -DCANNY_ENGINE_ONLY=ON
	cmake --build build-fuzz/gcc -j $(JOBS) --target $(FUZZ_ENGINE_TARGETS)
	bash fuzz/replay.sh build-fuzz/gcc build-fuzz/corpus

# Mutation testing, not part of `make test`: how many small faults in MUTATE_FILES the tests
# of MUTATE_TESTS catch. Settings are described in scripts/mutate.sh, e.g.
#   make mutate MUTATE_FILES="engine/*.cpp" MUTATE_TESTS=engine_tests MUTATE_MAX=60 MUTATE_SEED=1
MUTATE_FILES ?= engine/*.cpp engine/*.h
MUTATE_TESTS ?= engine_tests
MUTATE_MAX ?= 60
MUTATE_SEED ?= 1
export MUTATE_FILES MUTATE_TESTS MUTATE_MAX MUTATE_SEED MUTATE_CMD MUTATE_TIMEOUT MUTATE_BUILD MUTATE_CMAKE_ARGS
.PHONY: mutate
mutate:
	nice -n 10 bash scripts/mutate.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-bench build-bench-files build-mutate build-web

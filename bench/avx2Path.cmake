# canny_bench_avx2: the same benchmarks over a copy of the engine built without
# its AVX-512 clone, so that an AVX-512 processor measures the AVX2 path as
# processors without AVX-512 run it. `make bench` runs it with OpenCV and glibc
# kept to AVX2 as well. The clones exist where GCC builds for x86-64.
if(NOT (CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64"))
  return()
endif()
get_target_property(engineSources engine SOURCES)
get_target_property(engineOptions engine COMPILE_OPTIONS)
list(TRANSFORM engineSources PREPEND ${PROJECT_SOURCE_DIR}/engine/)
add_library(engine_avx2 STATIC ${engineSources})
target_compile_options(engine_avx2 PRIVATE ${engineOptions})
target_compile_definitions(engine_avx2 PRIVATE ENGINE_NO_AVX512_CLONE)
target_include_directories(engine_avx2
  PUBLIC ${PROJECT_SOURCE_DIR}/engine/include ${PROJECT_BINARY_DIR}/include
  PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(engine_avx2 PUBLIC Threads::Threads)

get_target_property(benchSources canny_bench SOURCES)
get_target_property(benchDefinitions canny_bench COMPILE_DEFINITIONS)
get_target_property(benchLibraries canny_bench LINK_LIBRARIES)
list(TRANSFORM benchLibraries REPLACE "^engine$" engine_avx2)
add_executable(canny_bench_avx2 ${benchSources})
target_compile_definitions(canny_bench_avx2 PRIVATE ${benchDefinitions} CANNY_BENCH_PATH="AVX2")
target_include_directories(canny_bench_avx2 PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(canny_bench_avx2 PRIVATE ${benchLibraries})

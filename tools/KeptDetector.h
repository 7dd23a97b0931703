#pragma once
// A detector that keeps its working memory from one picture to the next, in
// the form the picture code takes (imaging's EdgeDetector function); one per
// thread. The type is spelled out: the engine's detector class has the same
// name as imaging's function type, so no file sees both.
#include <cstdint>
#include <functional>

std::function<bool(float, float, float, std::int32_t, std::int32_t, std::int32_t, std::uint8_t *)>
keptDetector();

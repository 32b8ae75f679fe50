#pragma once
#include <cstdint>
#include <functional>

namespace cardora {

// Millisecond tick count. Tests replace the source to make timing rules deterministic.
std::uint32_t TickCount();
void SetTickSourceForTesting(std::function<std::uint32_t()> source);

} // namespace cardora

#pragma once

namespace cardora {
inline constexpr const char* kVersionText = "3.2d";
inline constexpr const char* kApplicationTitle = "Cardora";
} // namespace cardora

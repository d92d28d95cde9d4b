// The program's name and version as the window captions and the About box
// show them.
#pragma once

namespace tessel {

inline constexpr char kProductName[] = "Tessel";
inline constexpr char kProductVersion[] = "2.6";
inline constexpr char kPlatformName[] = "Linux";

} // namespace tessel

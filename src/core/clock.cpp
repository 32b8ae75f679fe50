#include "core/clock.h"
#include <QElapsedTimer>

namespace cardora {
namespace {
std::function<std::uint32_t()>& source()
{
    static std::function<std::uint32_t()> s;
    return s;
}
} // namespace

std::uint32_t TickCount()
{
    if (source())
        return source()();
    static QElapsedTimer timer = [] { QElapsedTimer t; t.start(); return t; }();
    // Never 0: callers use 0 as "never happened".
    return static_cast<std::uint32_t>(timer.elapsed()) + 1;
}

void SetTickSourceForTesting(std::function<std::uint32_t()> s) { source() = std::move(s); }

} // namespace cardora

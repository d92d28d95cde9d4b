// How much of the machine's physical memory is free, in percent, from the
// kernel's /proc/meminfo: MemAvailable against MemTotal.
#pragma once

#include <QString>

namespace tessel {

// From the text of a meminfo file; -1 when the two figures are missing.
int freeMemoryPercentFrom(const QString& meminfoText);

// From /proc/meminfo (or `path`); 0 when it cannot be read.
int freeMemoryPercent(const QString& path = QStringLiteral("/proc/meminfo"));

} // namespace tessel

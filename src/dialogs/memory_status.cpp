#include "dialogs/memory_status.h"

#include <QFile>
#include <QRegularExpression>

namespace tessel {

namespace {
long long field(const QString& text, const char* name)
{
    const QRegularExpression re(QStringLiteral("^%1:\\s*(\\d+)").arg(QLatin1String(name)),
                                QRegularExpression::MultilineOption);
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}
} // namespace

int freeMemoryPercentFrom(const QString& text)
{
    const long long total = field(text, "MemTotal");
    long long available = field(text, "MemAvailable");
    if (available < 0) available = field(text, "MemFree"); // kernels before 3.14
    if (total <= 0 || available < 0) return -1;
    if (available > total) available = total;
    // The load is rounded down, so free memory is rounded up, as
    // 100 - load would give it.
    const long long used = total - available;
    return 100 - static_cast<int>(used * 100 / total);
}

int freeMemoryPercent(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const int percent = freeMemoryPercentFrom(QString::fromLatin1(file.readAll()));
    return percent < 0 ? 0 : percent;
}

} // namespace tessel

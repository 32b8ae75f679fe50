#include "main/startup_probe.h"
#include "surface/card_view.h"
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace cardora {

namespace {

qint64 bootClockNs()
{
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// When this process started, on the same clock (in the kernel's ticks, so
// to a hundredth of a second); -1 when unknown.
qint64 processStartNs()
{
    QFile stat("/proc/self/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The command name may hold spaces: fields are counted after its ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartTime = 22 - 3;
    bool ok = false;
    const qint64 ticks = fields.size() > kStartTime ? fields[kStartTime].toLongLong(&ok) : 0;
    const long hz = sysconf(_SC_CLK_TCK);
    return ok && hz > 0 ? ticks * (1000000000 / hz) : -1;
}

class StartupProbe : public QObject {
public:
    StartupProbe(CardView& panel, bool waitForObjects)
        : QObject(&panel), panel_(panel), waitForObjects_(waitForObjects)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &panel_ || event->type() != QEvent::Paint || reported_)
            return false;
        if (waitForObjects_ && panel_.Objects().empty())
            return false;
        reported_ = true;
        // The frame is on the screen once this paint has been flushed, which
        // happens before queued calls run.
        QMetaObject::invokeMethod(
            this, [this] { report(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void report()
    {
        const qint64 now = bootClockNs();
        const qint64 start = processStartNs();
        std::fprintf(stderr, "startup probe: card panel shown %.1f ms after process start, %zu objects, boot clock %lld ns\n",
            start < 0 ? -1.0 : (now - start) / 1e6, panel_.Objects().size(), static_cast<long long>(now));
        std::fflush(stderr);
        std::_Exit(0);
    }

    CardView& panel_;
    bool waitForObjects_;
    bool reported_ = false;
};

} // namespace

bool StartupProbeWanted() { return qEnvironmentVariableIsSet("CARDORA_STARTUP_PROBE"); }

void InstallStartupProbe(CardView& panel, bool waitForObjects)
{
    panel.installEventFilter(new StartupProbe(panel, waitForObjects));
}

} // namespace cardora

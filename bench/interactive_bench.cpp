// Times interactive work as a user meets it, on a card of 200 objects of
// every kind: dragging one object across the card, typing into a rich-text
// label, and starting the program until its card is on the screen.
//
//   cardora-interactive-bench [--part drag|typing|startup]... [--zoom PERCENT]...
//                             [--runs N] [--moves N] [--keys N] [--starts N]
//                             [--bare-panel] [--write-card FILE]
//
// Drag: the label on top is pressed, moved in --moves steps along a line
// across the card and released, then dragged back the same way, --runs times
// at each zoom (100 and 150 % unless --zoom says). Every move is a real mouse
// event sent to the card panel; the time of a frame runs from sending it until
// events have been processed and the panel's repaint has been painted and
// flushed. Typing: the label editor of a rich-text label is opened, --keys
// key presses and releases are sent to what has the keyboard focus, each
// timed until its repaint is done. Start-up: a copy of the program in a
// folder of its own is started --starts times (after one first start that
// sets the folder up), blank and with the card, and ends itself once the card
// panel is shown (CARDORA_STARTUP_PROBE).
//
// The card lives in the main window unless --bare-panel puts a lone panel in
// a window. The platform is Qt's own choice (xcb under X); without a display,
// offscreen. --write-card saves the card and ends.
#include "bench_support.h"
#include "support/busy_card.h"
#include "support/scripted_modal.h"
#include "main/main_window.h"
#include "objects/richtext_label/rich_label.h"
#include "richtext/rich_text_control.h"
#include "surface/card_panel.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <set>
#include <vector>

using namespace cardora;

namespace {

qint64 bootClockNs()
{
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QString loadAverage()
{
    QFile f("/proc/loadavg");
    if (!f.open(QIODevice::ReadOnly))
        return "unknown";
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() >= 3 ? QString("%1 %2 %3").arg(parts[0], parts[1], parts[2]) : "unknown";
}

struct Summary {
    std::size_t count = 0;
    double median = 0, p90 = 0, max = 0;
};

Summary summarise(std::vector<double> v)
{
    Summary s;
    s.count = v.size();
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.p90 = v[std::size_t(std::ceil(0.9 * double(v.size()))) - 1];
    s.max = v.back();
    return s;
}

QString describe(const Summary& s, const char* unit = "ms")
{
    return QString("median %1, 90th %2, max %3 %4")
        .arg(s.median, 0, 'f', 2)
        .arg(s.p90, 0, 'f', 2)
        .arg(s.max, 0, 'f', 2)
        .arg(unit);
}

class PaintMeter;

// Times the delivery of every paint event to a watched widget, the widget's
// own handler and every filter on the way included (a scroll area paints
// its view through a filter on the viewport).
class BenchApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
    std::vector<PaintMeter*> meters;
};

BenchApplication* benchApp() { return static_cast<BenchApplication*>(qApp); }

// Counts what one widget paints: how often, how much of it, and how long
// its paint events take.
class PaintMeter {
public:
    explicit PaintMeter(QWidget* view) : view_(view) { benchApp()->meters.push_back(this); }
    ~PaintMeter() { std::erase(benchApp()->meters, this); }
    PaintMeter(const PaintMeter&) = delete;
    PaintMeter& operator=(const PaintMeter&) = delete;
    void Reset()
    {
        paints_ = 0;
        area_ = 0;
        handlerMs_ = 0;
    }
    int Paints() const { return paints_; }
    // The share of the widget's area painted since Reset, in per cent.
    double SharePercent() const
    {
        const double whole = double(view_->width()) * view_->height();
        return whole > 0 ? 100.0 * area_ / whole : 0;
    }
    double HandlerMs() const { return handlerMs_; }
    const QWidget* View() const { return view_; }
    void Painted(const QRegion& region, double ms)
    {
        for (const QRect& r : region)
            area_ += double(r.width()) * r.height();
        ++paints_;
        handlerMs_ += ms;
    }

private:
    QPointer<QWidget> view_;
    int paints_ = 0;
    double area_ = 0;
    double handlerMs_ = 0;
};

bool BenchApplication::notify(QObject* receiver, QEvent* event)
{
    if (event->type() != QEvent::Paint)
        return QApplication::notify(receiver, event);
    const QRegion region = static_cast<QPaintEvent*>(event)->region();
    QElapsedTimer t;
    t.start();
    const bool result = QApplication::notify(receiver, event);
    const double ms = t.nsecsElapsed() / 1e6;
    for (PaintMeter* m : meters)
        if (m->View() == receiver)
            m->Painted(region, ms);
    return result;
}

// Lets events run until `meter` has seen a paint (or a second has passed);
// false when none came.
bool processUntilPainted(const PaintMeter& meter)
{
    QCoreApplication::processEvents();
    QElapsedTimer waited;
    waited.start();
    while (meter.Paints() == 0 && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (meter.Paints() == 0)
            QThread::usleep(200);
    }
    return meter.Paints() > 0;
}

void waitShown(QWidget& w)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 3000 && !(w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    // Let the first paints and any start-up work settle.
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(5);
    }
}

struct Frames {
    std::vector<double> frameMs, handlerMs, sharePercent;
    int unpainted = 0;
    void Add(const PaintMeter& meter, double ms)
    {
        if (meter.Paints() == 0) {
            ++unpainted;
            return;
        }
        frameMs.push_back(ms);
        handlerMs.push_back(meter.HandlerMs());
        sharePercent.push_back(meter.SharePercent());
    }
};

void sendMouse(QWidget* panel, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(at), QPointF(panel->mapToGlobal(at)), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
        buttons, Qt::NoModifier);
    QApplication::sendEvent(panel, &e);
}

// One press, `moves` moves from `from` to `to`, one release; the moves' frames
// go to `frames`, the press's and release's to `ends`.
void dragOnce(QWidget* panel, PaintMeter& meter, QPoint from, QPoint to, int moves, Frames& frames, Frames& ends)
{
    QElapsedTimer held;
    held.start();
    QElapsedTimer t;
    meter.Reset();
    t.start();
    sendMouse(panel, QEvent::MouseButtonPress, from, Qt::LeftButton);
    processUntilPainted(meter);
    ends.Add(meter, t.nsecsElapsed() / 1e6);
    // The handle starts a drag only after the button has been held a moment.
    QThread::msleep(20);
    for (int i = 1; i <= moves; ++i) {
        const QPoint at = from + (to - from) * i / moves;
        meter.Reset();
        t.restart();
        sendMouse(panel, QEvent::MouseMove, at, Qt::LeftButton);
        if (i == 1) {
            QCoreApplication::processEvents(); // the drag starts here; nothing moves yet
            continue;
        }
        processUntilPainted(meter);
        frames.Add(meter, t.nsecsElapsed() / 1e6);
    }
    // A release sooner than this after the press is a click and moves nothing.
    while (held.elapsed() < 200)
        QThread::msleep(5);
    meter.Reset();
    t.restart();
    sendMouse(panel, QEvent::MouseButtonRelease, to, Qt::NoButton);
    processUntilPainted(meter);
    ends.Add(meter, t.nsecsElapsed() / 1e6);
}

struct Card {
    QString path;
    int objects = 0;
    QStringList kinds;
};

Card writeBusyCard(const QString& path)
{
    QObject owner;
    CardPanel panel(nullptr, &owner);
    TRichTextControl master(&owner, QString::fromLatin1(kMasterRichTextName));
    panel.SetShape(CardShape::Rectangle);
    panel.SetPanelSize(336, 192);
    test::BuildBusyCard(owner, panel);
    panel.SaveCardFile(path);
    Card card { path, int(panel.Objects().size()), {} };
    std::set<QString> kinds;
    for (TQGraphicControl* o : panel.Objects())
        kinds.insert(o->ClassName());
    for (const QString& k : kinds)
        card.kinds << k;
    return card;
}

// Where the card is shown: the main window with the card opened as File >
// Open does, or a lone panel in a window.
class Stage {
public:
    Stage(const QString& cardPath, bool barePanel)
    {
        if (barePanel) {
            holder_ = std::make_unique<QWidget>();
            master_ = std::make_unique<TRichTextControl>(holder_.get(), QString::fromLatin1(kMasterRichTextName));
            panel_ = new CardPanel(holder_.get(), holder_.get());
            panel_->move(10, 10);
            panel_->SetShape(CardShape::Rectangle);
            panel_->SetDrawOutline(true);
            panel_->SetPanelSize(336, 192);
            panel_->LoadCardFile(cardPath);
            holder_->resize(900, 600);
            holder_->show();
            waitShown(*holder_);
        } else {
            window_ = std::make_unique<MainWindow>();
            window_->show();
            waitShown(*window_);
            window_->fileCommands().openCard(cardPath);
            panel_ = window_->cardPanel();
            waitShown(*window_);
        }
    }
    CardPanel* Panel() const { return panel_; }
    QString What() const { return window_ ? "main window" : "lone panel"; }

private:
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<QWidget> holder_;
    std::unique_ptr<TRichTextControl> master_;
    CardPanel* panel_ = nullptr;
};

void setZoom(CardPanel& panel, int percent)
{
    panel.ClearSelection();
    panel.SetZoom(float(percent) / 100.0f);
    QWidget* top = panel.window();
    if (top->width() < panel.width() + 80 || top->height() < panel.height() + 200)
        top->resize(std::max(top->width(), panel.width() + 400), std::max(top->height(), panel.height() + 300));
    waitShown(*top);
}

void printFrames(const char* what, const Frames& f)
{
    std::printf("  %s: %zu frames%s\n", what, f.frameMs.size(),
        f.unpainted ? qPrintable(QString(" (%1 events painted nothing)").arg(f.unpainted)) : "");
    std::printf("    event to painted frame: %s\n", qPrintable(describe(summarise(f.frameMs))));
    std::printf("    in the paint handler:  %s\n", qPrintable(describe(summarise(f.handlerMs))));
    std::printf("    repainted share:       %s\n", qPrintable(describe(summarise(f.sharePercent), "% of the view (several paints may pass 100)")));
}

void benchDrag(CardPanel& panel, int percent, int runs, int moves)
{
    setZoom(panel, percent);
    TQGraphicControl* label = panel.Objects().back();
    const double z = percent / 100.0;
    const QRect box = test::BusyCardDragLabelBox();
    const QPoint start(int(std::lround((box.left() + box.width() / 2) * z)), int(std::lround((box.top() + box.height() / 2) * z)));
    // Across the card: more than half its width, a quarter of its height.
    const QPoint end = start + QPoint(int(panel.width() * 0.55), int(panel.height() * -0.25));
    PaintMeter meter(&panel);
    Frames frames, ends;
    const QString before = label->ClassName();
    const QRect first(label->Left(), label->Top(), label->Width(), label->Height());
    QRect moved;
    for (int r = 0; r < runs; ++r) {
        dragOnce(&panel, meter, start, end, moves, frames, ends);
        if (r == 0)
            moved = QRect(label->Left(), label->Top(), label->Width(), label->Height());
        dragOnce(&panel, meter, end, start, moves, frames, ends);
    }
    panel.ClearSelection();
    QCoreApplication::processEvents();
    std::printf("drag at %d %% (panel %dx%d), %d runs there and back of %d moves; load %s\n", percent, panel.width(),
        panel.height(), runs, moves, qPrintable(loadAverage()));
    if (moved == first)
        std::printf("  THE LABEL DID NOT MOVE: the drag was not taken (%s at %d,%d)\n", qPrintable(before), first.x(),
            first.y());
    printFrames("moves", frames);
    std::printf("  press and release frames: %s\n", qPrintable(describe(summarise(ends.frameMs))));
}

// Types `keys` keys into the editor of the card's first rich-text label.
void benchTyping(CardPanel& panel, int percent, int runs, int keys, test::ScriptedModal& modal)
{
    setZoom(panel, percent);
    TQPRichBaseLabel* label = nullptr;
    for (TQGraphicControl* o : panel.Objects()) // the card's last one is the largest
        if (auto* rich = qobject_cast<TQPRichBaseLabel*>(o))
            label = rich;
    if (!label) {
        std::printf("typing: the card has no rich-text label\n");
        return;
    }
    const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog, 0123456789. ");
    Frames frames;
    std::vector<double> opened, applied;
    QString where;
    bool typedIn = false;
    for (int r = 0; r <= runs; ++r) {
        // The last opening types a few keys and is confirmed with OK, timed
        // until the card shows the new text.
        const bool apply = r == runs;
        QElapsedTimer sinceOpen;
        QElapsedTimer sinceOk;
        modal.dialogs.push_back([&](QDialog& d) {
            {
                PaintMeter shown(&d);
                d.show();
                QApplication::setActiveWindow(&d);
                processUntilPainted(shown);
                opened.push_back(sinceOpen.nsecsElapsed() / 1e6);
            }
            waitShown(d);
            QWidget* target = QApplication::focusWidget();
            if (!target || target->window() != &d)
                return int(mrCancel);
            auto* area = qobject_cast<QAbstractScrollArea*>(target);
            QWidget* view = area ? area->viewport() : target;
            where = QString("%1 (%2x%3)").arg(target->metaObject()->className()).arg(view->width()).arg(view->height());
            PaintMeter meter(view);
            const int count = apply ? 5 : keys;
            for (int k = 0; k < count; ++k) {
                const QString c = text.mid(k % text.size(), 1);
                const int key = c[0].isLetter() ? Qt::Key_A + (c[0].toUpper().unicode() - 'A') : c[0].unicode();
                meter.Reset();
                QElapsedTimer t;
                t.start();
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, c);
                QApplication::sendEvent(target, &press);
                QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, c);
                QApplication::sendEvent(target, &release);
                processUntilPainted(meter);
                if (!apply)
                    frames.Add(meter, t.nsecsElapsed() / 1e6);
            }
            d.hide();
            sinceOk.start();
            return int(apply ? mrOk : mrCancel);
        });
        sinceOpen.start();
        PaintMeter cardMeter(&panel);
        const QString before = label->RTFText().toPlainText();
        const bool changed = label->EditRichText();
        if (apply) {
            processUntilPainted(cardMeter);
            if (changed && cardMeter.Paints() > 0)
                applied.push_back(sinceOk.nsecsElapsed() / 1e6);
            // What was typed must have reached the label.
            typedIn = label->RTFText().toPlainText().size() == before.size() + 5;
        }
        QCoreApplication::processEvents();
    }
    std::printf("typing at %d %% into the label editor of a rich-text label, %d runs of %d keys; load %s\n", percent,
        runs, keys, qPrintable(loadAverage()));
    std::printf("  typed into %s%s\n", qPrintable(where), typedIn ? "" : "; THE KEYS DID NOT REACH THE LABEL");
    printFrames("keys", frames);
    std::printf("  opening the editor until shown: %s\n", qPrintable(describe(summarise(opened))));
    std::printf("  OK until the card shows the text: %s\n",
        applied.empty() ? "not measured (no repaint of the card)" : qPrintable(describe(summarise(applied))));
}

// Starts a copy of the program `starts` times; the figures run from starting
// it to the card panel shown.
void benchStartup(const QString& folder, const QString& card, int starts)
{
    const QString program = QDir(folder).filePath("cardora");
    QFile::remove(program);
    if (!QFile::copy(QStringLiteral(CARDORA_PROGRAM), program)) {
        std::printf("start-up: cannot copy %s\n", CARDORA_PROGRAM);
        return;
    }
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    const QString runtime = QDir(folder).filePath("runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CARDORA_STARTUP_PROBE", "1");
    env.insert("XDG_RUNTIME_DIR", runtime);
    static const QRegularExpression line("shown ([-0-9.]+) ms after process start, (\\d+) objects, boot clock (\\d+) ns");
    for (const QString& arg : { QString(), card }) {
        std::vector<double> fromSpawn, fromStart;
        int objects = -1;
        QString failure;
        for (int r = 0; r <= starts; ++r) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.setProgram(program);
            p.setArguments(arg.isEmpty() ? QStringList() : QStringList { arg });
            const qint64 t0 = bootClockNs();
            p.start();
            if (!p.waitForFinished(30000)) {
                p.kill();
                p.waitForFinished();
                failure = "did not end within 30 s";
                break;
            }
            const QString err = QString::fromLocal8Bit(p.readAllStandardError());
            const QRegularExpressionMatch m = line.match(err);
            if (!m.hasMatch()) {
                failure = "no start-up figure: " + err.trimmed().left(300);
                break;
            }
            if (r == 0)
                continue; // the first start sets the program's folder up
            fromSpawn.push_back((m.captured(3).toLongLong() - t0) / 1e6);
            fromStart.push_back(m.captured(1).toDouble());
            objects = m.captured(2).toInt();
        }
        std::printf("start-up %s, %d starts after one; load %s\n", arg.isEmpty() ? "blank" : "with the card", starts,
            qPrintable(loadAverage()));
        if (!failure.isEmpty()) {
            std::printf("  FAILED: %s\n", qPrintable(failure));
            continue;
        }
        std::printf("  starting the process until the panel is shown (%d objects): %s\n", objects,
            qPrintable(describe(summarise(fromSpawn))));
        std::printf("  the same from the process's start time (to 10 ms): %s\n", qPrintable(describe(summarise(fromStart))));
    }
}

} // namespace

static void initBundledResources() { Q_INIT_RESOURCE(resources); }

int main(int argc, char** argv)
{
    initBundledResources();
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // figures show as they come
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchApplication app(argc, argv);
    const bench::CardProgram program;

    int runs = 3, moves = 60, keys = 120, starts = 10;
    bool barePanel = false;
    QStringList parts;
    std::vector<int> zooms;
    QString writeCard;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const bool more = i + 1 < args.size();
        if (args[i] == "--runs" && more)
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--moves" && more)
            moves = std::max(2, args[++i].toInt());
        else if (args[i] == "--keys" && more)
            keys = std::max(1, args[++i].toInt());
        else if (args[i] == "--starts" && more)
            starts = std::max(1, args[++i].toInt());
        else if (args[i] == "--zoom" && more)
            zooms.push_back(std::clamp(args[++i].toInt(), 25, 400));
        else if (args[i] == "--part" && more && QStringList { "drag", "typing", "startup" }.contains(args[i + 1]))
            parts << args[++i];
        else if (args[i] == "--bare-panel")
            barePanel = true;
        else if (args[i] == "--write-card" && more)
            writeCard = args[++i];
        else {
            std::fprintf(stderr,
                "usage: cardora-interactive-bench [--part drag|typing|startup]... [--zoom PERCENT]... [--runs N]\n"
                "         [--moves N] [--keys N] [--starts N] [--bare-panel] [--write-card FILE]\n");
            return 1;
        }
    }
    if (zooms.empty())
        zooms = { 100, 150 };
    if (parts.isEmpty())
        parts = QStringList { "drag", "typing", "startup" };

    const Card card = writeBusyCard(writeCard.isEmpty() ? program.FilePath("busy.CDW") : writeCard);
    if (!writeCard.isEmpty()) {
        std::printf("wrote %s with %d objects of %d kinds: %s\n", qPrintable(card.path), card.objects,
            int(card.kinds.size()), qPrintable(card.kinds.join(", ")));
        return 0;
    }
    std::printf("platform %s; card of %d objects of %d kinds (%s); load at start %s\n",
        qPrintable(QGuiApplication::platformName()), card.objects, int(card.kinds.size()),
        qPrintable(card.kinds.join(", ")), qPrintable(loadAverage()));

    if (parts.contains("drag") || parts.contains("typing")) {
        auto modal = test::ScriptedModal::Install();
        Stage stage(card.path, barePanel);
        CardPanel& panel = *stage.Panel();
        std::printf("shown in the %s; %zu objects on the panel\n", qPrintable(stage.What()), panel.Objects().size());
        for (const int z : zooms) {
            if (parts.contains("drag"))
                benchDrag(panel, z, runs, moves);
            if (parts.contains("typing"))
                benchTyping(panel, z, runs, keys, *modal);
        }
        for (const auto& m : modal->messages)
            std::printf("message shown: %s\n", qPrintable(m.text));
    }
    if (parts.contains("startup"))
        benchStartup(program.Folder(), card.path, starts);
    return 0;
}

#include "main/about_dialogs.h"
#include "core/app_folder.h"
#include "core/modal.h"
#include "core/window_placement.h"
#include "main/help_window.h"
#include "main/printer_check.h"
#include "main/version.h"
#include "printing/card_layout.h"
#include "surface/card_panel.h"
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>
#include <QFile>
#include <unistd.h>

namespace cardora {

namespace {
// "Memory: 15,842 MB installed, 9,310 MB free" from the system's own figures.
QString memoryLine()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return "Memory: unknown";
    const qint64 mb = qint64(pages) * pageSize / (1024 * 1024);
    QString line = QString("Memory: %L1 MB installed").arg(mb);
    QFile info("/proc/meminfo");
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray& row : info.readAll().split('\n')) {
            if (!row.startsWith("MemAvailable:"))
                continue;
            const qint64 kb = row.mid(13).trimmed().split(' ').value(0).toLongLong();
            if (kb > 0)
                line += QString(", %L1 MB free").arg(kb / 1024);
        }
    }
    return line;
}
} // namespace

void ShowAboutBox(QWidget* parent)
{
    QDialog dlg(parent);
    dlg.setObjectName("AboutBox");
    dlg.setWindowTitle("About Cardora");
    auto* l = new QHBoxLayout(&dlg);
    auto* picture = new QLabel(&dlg);
    picture->setObjectName("ProgramIcon");
    picture->setPixmap(QIcon(":/icons/cardora.svg").pixmap(64, 64));
    l->addWidget(picture);
    auto* right = new QVBoxLayout;
    auto* title = new QLabel("<b>Cardora</b>", &dlg);
    right->addWidget(title);
    auto* wordSize = new QLabel(QString::number(QSysInfo::WordSize) + "-bit version", &dlg);
    wordSize->setObjectName("WordSize");
    right->addWidget(wordSize);
    auto* version = new QLabel(QString("Version ") + kVersionText, &dlg);
    version->setObjectName("Version");
    right->addWidget(version);
    auto* ok = new QPushButton("Ok", &dlg);
    ok->setObjectName("OKButton");
    QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
    right->addWidget(ok, 0, Qt::AlignRight);
    l->addLayout(right);
    ExecModal(dlg);
}

void ShowConfigurationInformation(QWidget* parent, const TFont& defaultFont, const TPrinterNudges& nudges)
{
    QDialog dlg(parent);
    dlg.setObjectName("ConfigurationInformation");
    dlg.setWindowTitle("Configuration Information");
    auto* l = new QVBoxLayout(&dlg);
    auto* text = new QPlainTextEdit(&dlg);
    text->setObjectName("Report");
    text->setReadOnly(true);
    QStringList lines;
    lines << QString("Cardora version %1").arg(kVersionText);
    lines << "Operating system: " + QSysInfo::prettyProductName();
    lines << "Processor: " + QSysInfo::currentCpuArchitecture()
            + QString(" (%1 threads)").arg(QThread::idealThreadCount());
    lines << memoryLine();
    if (QScreen* s = QGuiApplication::primaryScreen())
        lines << QString("Screen: %1 x %2, %3 pixels per inch, %4 bits per pixel")
                     .arg(s->geometry().width())
                     .arg(s->geometry().height())
                     .arg(ScreenPixelsPerInch())
                     .arg(s->depth());
    lines << "Default printer: " + DefaultPrinterName();
    lines << "Printers: " + InstalledPrinters().join(", ");
    lines << "Preferences file: " + PreferencesFileName();
    lines << "Default font: " + defaultFont.Name() + QString(", %1 pt").arg(defaultFont.Size());
    const TPrinterNudges& n = nudges;
    lines << QString("Printer nudges (1/32 inch): top %1, left %2, vertical %3, horizontal %4")
                 .arg(n.TopMarginNudge)
                 .arg(n.LeftMarginNudge)
                 .arg(n.VerticalSpacing)
                 .arg(n.HorizontalSpacing);
    text->setPlainText(lines.join("\n"));
    l->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dlg);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    l->addWidget(buttons);
    dlg.resize(520, 300);
    ExecModal(dlg);
}

} // namespace cardora

#include "objects/pictures/image_browser.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "imaging/picture_file.h"
#include "imaging/print_quality.h"
#include "objects/folder_tree.h"
#include "objects/text_label_dialogs.h"
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace cardora {

namespace {
constexpr int kHelpTopic = 40003;

QStringList MaskPatterns() { return QString::fromLatin1(kImageFileMask).split(QLatin1Char(';')); }
} // namespace

TQImageBrowser::TQImageBrowser(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("QImageBrowser"));
    setWindowTitle(QStringLiteral("Load Image File "));
    resize(592, 300);

    folders_ = new TFolderTree(this);
    folders_->setObjectName(QStringLiteral("DirectoryListBox1"));
    connect(folders_, &TFolderTree::FolderChosen, this, [this](const QString& folder) { SetFolder(folder); });

    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("FileListBox1"));
    connect(files_, &QListWidget::currentRowChanged, this, [this] { showSelectedFile(); });
    connect(files_, &QListWidget::itemDoubleClicked, this, [this] { applyAndClose(); });

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ScrollBox1"));
    scroll_->setBackgroundRole(QPalette::Base);
    image_ = new QLabel;
    image_->setObjectName(QStringLiteral("Image1"));
    image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll_->setWidget(image_);
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText); // messages name files
    status_->setObjectName(QStringLiteral("PreviewStatus"));
    status_->setWordWrap(true);

    auto* options = new QGroupBox(QStringLiteral(" Options "), this);
    stretch_ = new QCheckBox(QStringLiteral("Stretch"), options);
    stretch_->setObjectName(QStringLiteral("CBStretch"));
    autoSize_ = new QCheckBox(QStringLiteral("AutoSize"), options);
    autoSize_->setObjectName(QStringLiteral("CBAutoSize"));
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(stretch_);
    optionsLayout->addWidget(autoSize_);
    // Ticking one option clears the other.
    connect(stretch_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            autoSize_->setChecked(false);
        showPreview();
    });
    connect(autoSize_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            stretch_->setChecked(false);
        showPreview();
    });

    DialogButtonsLook look;
    look.ok = { QStringLiteral("Ok"), QStringLiteral("OkButton") };
    look.help = { QStringLiteral("Help"), QStringLiteral("HelpButton") };
    look.openHelp = [] { ShowDialogHelp(kHelpTopic); };
    look.onOk = [this] { applyAndClose(); };
    const TDialogButtons row(*this, std::move(look));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(options);
    buttons->addStretch();
    row.AddColumn(*buttons);

    auto* layout = new QGridLayout(this);
    layout->addWidget(folders_, 0, 0, 2, 1);
    layout->addWidget(files_, 0, 1, 2, 1);
    layout->addWidget(scroll_, 0, 2);
    layout->addWidget(status_, 1, 2);
    layout->addLayout(buttons, 0, 3, 2, 1);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(2, 4);
    layout->setRowStretch(0, 1);

    SetFolder(QDir::currentPath());
}

void TQImageBrowser::SetPlacedSize(QSize box)
{
    placed_ = box;
    showPreview();
}

void TQImageBrowser::SetOptions(bool stretch, bool autoSize)
{
    const QSignalBlocker a(stretch_), b(autoSize_);
    stretch_->setChecked(stretch && !autoSize);
    autoSize_->setChecked(autoSize);
    showPreview();
}

bool TQImageBrowser::StretchChecked() const { return stretch_->isChecked(); }
bool TQImageBrowser::AutoSizeChecked() const { return autoSize_->isChecked(); }

bool TQImageBrowser::SetFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    const QString path = info.absoluteFilePath();
    if (path == folder_)
        return true;
    folder_ = path;
    QDir::setCurrent(folder_);
    folders_->ShowFolder(folder_);
    const QSignalBlocker block(files_);
    files_->clear();
    // Name filters match without regard to case.
    const QStringList names = QDir(folder_).entryList(MaskPatterns(), QDir::Files, QDir::Name | QDir::IgnoreCase);
    files_->addItems(names);
    files_->setCurrentRow(-1);
    preview_.Clear();
    status_->clear();
    showPreview();
    return true;
}

QStringList TQImageBrowser::FileNames() const
{
    QStringList names;
    for (int i = 0; i < files_->count(); ++i)
        names << files_->item(i)->text();
    return names;
}

bool TQImageBrowser::SelectFile(const QString& name)
{
    for (int i = 0; i < files_->count(); ++i)
        if (files_->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) {
            files_->setCurrentRow(i);
            return true;
        }
    return false;
}

QString TQImageBrowser::SelectedFile() const
{
    const QListWidgetItem* item = files_->currentItem();
    return item && files_->currentRow() >= 0 ? QDir(folder_).filePath(item->text()) : QString();
}

void TQImageBrowser::showSelectedFile()
{
    const QString path = SelectedFile();
    if (path.isEmpty())
        return;
    TPicture picture;
    const bool ok = picture.LoadFromFile(path);
    QCoreApplication::processEvents();
    if (ok) {
        // Icons reach the card as bitmaps.
        preview_ = picture.ToBitmapPicture();
    } else {
        preview_.Clear();
        status_->setText(picture.ErrorText());
        const QString ext = LastExtension(path);
        if (ext == QLatin1String("BMP") || ext == QLatin1String("WMF"))
            MessageDlg(QStringLiteral("Error loading file!"), QStringLiteral("Error"), MessageStyle::Error);
    }
    showPreview();
}

void TQImageBrowser::applyAndClose() { done(mrOk); }

void TQImageBrowser::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    showPreview();
}

void TQImageBrowser::showPreview()
{
    if (!image_)
        return;
    if (!preview_.HasGraphic()) {
        image_->clear();
        image_->resize(scroll_->viewport()->size());
        return;
    }
    // AutoSize: the natural size, with scroll bars; Stretch: filling the
    // box; otherwise the natural size cut to the box.
    const QSize natural = preview_.Size();
    const QSize box = scroll_->viewport()->size();
    // Stretched, the picture fills the object's box; otherwise it keeps its
    // own size on the card.
    const QSize placed = stretch_->isChecked() && !autoSize_->isChecked() && !placed_.isEmpty() ? placed_ : natural;
    status_->setText(QStringLiteral("%1 × %2\n%3").arg(natural.width()).arg(natural.height()).arg(PrintQualityText(preview_, placed)));
    const QSize size = stretch_->isChecked() && !autoSize_->isChecked() ? box : natural;
    QImage shown(size.boundedTo(QSize(8192, 8192)), QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter p(&shown);
    preview_.Draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
    p.end();
    image_->setPixmap(QPixmap::fromImage(shown));
    if (autoSize_->isChecked())
        image_->resize(shown.size());
    else
        image_->resize(box);
}

} // namespace cardora

#include "objects/texture_browser.h"
#include "core/app_folder.h"
#include "core/modal.h"
#include "imaging/picture.h"
#include "objects/text_label_dialogs.h"
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace cardora {

const QStringList& TextureFileMasks()
{
    static const QStringList m = { "*.BMP", "*.DIB", "*.JPG", "*.JIF", "*.PCX", "*.RLE", "*.TGA", "*.ICO" };
    return m;
}

QImage LoadTextureFile(const QString& path, bool* announce)
{
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (announce)
        *announce = false;
    TPicture picture;
    QImage image;
    if (picture.LoadFromFile(path))
        image = picture.Bitmap();
    if (!image.isNull() && ext == "ICO") {
        // An icon becomes a bitmap of its size, its transparent parts white.
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        image = flat;
    }
    if (image.isNull() && announce)
        *announce = ext == "BMP" || ext == "WMF";
    return image;
}

// ---- TTextureExample

TTextureExample::TTextureExample(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void TTextureExample::SetPainter(Painter paint)
{
    paint_ = std::move(paint);
    update();
}

void TTextureExample::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!paint_)
        return;
    QPainter p(this);
    const QRect area = contentsRect();
    p.setClipRect(area);
    paint_(p, area);
}

// ---- TQBrushImageBrowser

TQBrushImageBrowser::TQBrushImageBrowser(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TQBrushImageBrowser"));
    setWindowTitle(QStringLiteral("Load Texture Image"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);

    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("DriveList"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !volume.rootPath().startsWith("/proc")
            && !volume.rootPath().startsWith("/sys") && !volume.rootPath().startsWith("/dev"))
            drives_->addItem(volume.rootPath());
    if (drives_->findText(QDir::homePath()) < 0)
        drives_->addItem(QDir::homePath());
    folderLabel_ = new QLabel(this);
    folderLabel_->setTextFormat(Qt::PlainText); // a folder's name is text, never markup
    folderLabel_->setObjectName(QStringLiteral("FolderLabel"));
    folderLabel_->setWordWrap(true);
    folders_ = new QListWidget(this);
    folders_->setObjectName(QStringLiteral("FolderList"));
    folders_->setWhatsThis(QStringLiteral("Double-click a folder to open it."));
    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("FileList"));
    files_->setWhatsThis(QStringLiteral("Click a picture to try it as the texture."));
    example_ = new TTextureExample(this);
    example_->setObjectName(QStringLiteral("Example"));

    grid->addWidget(new QLabel(QStringLiteral("Files:"), this), 0, 0);
    grid->addWidget(files_, 1, 0, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Folders:"), this), 0, 1);
    grid->addWidget(folderLabel_, 1, 1);
    grid->addWidget(folders_, 2, 1);
    auto* drivesLabel = new QLabel(QStringLiteral("Drives:"), this);
    drivesLabel->setBuddy(drives_);
    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(drivesLabel);
    driveRow->addWidget(drives_, 1);
    grid->addLayout(driveRow, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Example:"), this), 0, 2);
    grid->addWidget(example_, 1, 2, 2, 1, Qt::AlignTop);
    files_->setMinimumSize(180, 220);
    folders_->setMinimumSize(180, 160);
    SetExample(QSize(75, 75), nullptr);
    AddDialogButtons(*this, *layout, kHelpTopic);

    connect(drives_, &QComboBox::textActivated, this, [this](const QString& root) { SetFolder(root); });
    connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString name = item->data(Qt::UserRole).toString();
        SetFolder(QDir(folder_).absoluteFilePath(name));
    });
    connect(files_, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (!filling_ && !name.isEmpty())
            fileChosen(name);
    });
}

void TQBrushImageBrowser::SetExample(QSize size, ExamplePainter paint)
{
    paintExample_ = std::move(paint);
    const int frame = example_->frameWidth() * 2;
    example_->setFixedSize(size + QSize(frame, frame));
    example_->SetPainter([this](QPainter& p, const QRect& area) {
        if (paintExample_)
            paintExample_(p, area, texture_);
    });
}

void TQBrushImageBrowser::Start(const QString& rememberedFile, const QStringList& folderNames)
{
    const QFileInfo remembered(rememberedFile);
    if (!rememberedFile.isEmpty() && remembered.isFile()) {
        SetFolder(remembered.absolutePath());
        SelectFile(remembered.fileName());
        return;
    }
    for (const QString& name : folderNames) {
        const QString folder = FindCaseInsensitive(ApplicationFolder(), name);
        if (QFileInfo(folder).isDir()) {
            SetFolder(folder);
            return;
        }
    }
    SetFolder(ApplicationFolder());
}

void TQBrushImageBrowser::SetFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return;
    folder_ = QDir::cleanPath(info.absoluteFilePath());
    fillLists();
}

void TQBrushImageBrowser::fillLists()
{
    filling_ = true;
    folderLabel_->setText(QDir::toNativeSeparators(folder_));
    folders_->clear();
    QDir dir(folder_);
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem(QStringLiteral("[..]"), folders_);
        up->setData(Qt::UserRole, QStringLiteral(".."));
    }
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QStringLiteral("[") + sub + QStringLiteral("]"), folders_);
        item->setData(Qt::UserRole, sub);
    }
    files_->clear();
    // Name filters ignore letter case, so "*.BMP" finds "paper.bmp".
    files_->addItems(dir.entryList(TextureFileMasks(), QDir::Files, QDir::Name | QDir::IgnoreCase));
    filling_ = false;
}

void TQBrushImageBrowser::SelectFile(const QString& fileName)
{
    const QList<QListWidgetItem*> found = files_->findItems(fileName, Qt::MatchExactly);
    if (found.isEmpty()) {
        fileChosen(fileName);
        return;
    }
    files_->setCurrentItem(found.first()); // loads through currentTextChanged
    if (fileName_ != QDir(folder_).absoluteFilePath(fileName))
        fileChosen(fileName);
}

void TQBrushImageBrowser::fileChosen(const QString& name)
{
    fileName_ = QDir(folder_).absoluteFilePath(name);
    bool announce = false;
    texture_ = LoadTextureFile(fileName_, &announce);
    if (texture_.isNull() && announce)
        MessageDlg(QStringLiteral("Error loading file!"), QStringLiteral("Error"), MessageStyle::Error);
    example_->update();
    files_->setFocus();
}

} // namespace cardora

#include "objects/texture_browser.h"
#include "core/app_folder.h"
#include "core/modal.h"
#include "imaging/picture.h"
#include "objects/folder_tree.h"
#include "objects/text_label_dialogs.h"
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
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

    // The same folder tree and file list as the picture browser.
    folders_ = new TFolderTree(this);
    folders_->setObjectName(QStringLiteral("FolderTree"));
    files_ = new QListWidget(this);
    files_->setObjectName(QStringLiteral("FileList"));
    files_->setWhatsThis(QStringLiteral("Click a picture to try it as the texture."));
    example_ = new TTextureExample(this);
    example_->setObjectName(QStringLiteral("Example"));

    grid->addWidget(new QLabel(QStringLiteral("Folders:"), this), 0, 0);
    grid->addWidget(folders_, 1, 0, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Files:"), this), 0, 1);
    grid->addWidget(files_, 1, 1, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Example:"), this), 0, 2);
    grid->addWidget(example_, 1, 2, Qt::AlignTop);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(2, 1);
    folders_->setMinimumSize(220, 260);
    files_->setMinimumSize(160, 260);
    SetExample(QSize(75, 75), nullptr);
    AddDialogButtons(*this, *layout, kHelpTopic);

    connect(folders_, &TFolderTree::FolderChosen, this, [this](const QString& folder) { SetFolder(folder); });
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
    folders_->ShowFolder(folder_);
    fillLists();
}

void TQBrushImageBrowser::fillLists()
{
    filling_ = true;
    QDir dir(folder_);
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

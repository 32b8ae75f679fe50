#include "main/background_art_dialog.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "imaging/picture.h"
#include "main/help_window.h"
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace cardora {

namespace {
// Bitmaps and metafiles, and the other picture files the program reads.
const QStringList kMasks = { "*.BMP", "*.WMF", "*.EMF", "*.DIB", "*.RLE", "*.JPG", "*.JPEG", "*.JIF", "*.PNG",
    "*.GIF", "*.PCX", "*.TGA", "*.ICO" };
} // namespace

TLoadBackGround::TLoadBackGround(QWidget* parent) : QDialog(parent)
{
    setObjectName("LoadBackGround");
    setWindowTitle("Load  Business Card Background Art ");
    auto* layout = new QGridLayout(this);

    folderLabel_ = new QLabel(this);
    folderLabel_->setTextFormat(Qt::PlainText); // a folder's name is text, never markup
    folderLabel_->setObjectName("FolderLabel");
    layout->addWidget(folderLabel_, 0, 0);
    auto* browse = new QPushButton("Other Folder...", this);
    browse->setObjectName("BrowseButton");
    connect(browse, &QPushButton::clicked, this, [this] { browseForPicture(); });
    layout->addWidget(browse, 1, 0);

    files_ = new QListWidget(this);
    files_->setObjectName("FileListBox1");
    files_->setMinimumWidth(180);
    connect(files_, &QListWidget::currentRowChanged, this, [this] { showSelectedFile(); });
    connect(files_, &QListWidget::itemDoubleClicked, this, [this] { applyAndClose(); });
    layout->addWidget(files_, 2, 0);

    preview_ = new QLabel(this);
    preview_->setObjectName("Image1");
    preview_->setFixedSize(336, 192);
    preview_->setFrameShape(QFrame::Box);
    preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(preview_);
    scroll->setFixedSize(340, 196);
    layout->addWidget(scroll, 0, 1, 3, 1);

    DialogButtonsLook look;
    look.ok = { "Ok", "OKButton" };
    look.cancel = { "Cancel", "Cancelbutton" };
    look.help = { "Help", "Helpbutton" };
    look.openHelp = [] { ShowHelpTopic(2101); };
    look.onOk = [this] { applyAndClose(); };
    QHBoxLayout* row = TDialogButtons(*this, std::move(look)).MakeRow();
    // None (no background art) stands between Cancel and Help, as it always has.
    auto* none = new QPushButton("None", this);
    none->setObjectName("NoneButton");
    row->insertWidget(row->count() - 2, none);
    connect(none, &QPushButton::clicked, this, [this] { chooseNoBackground(); });
    layout->addLayout(row, 3, 0, 1, 2);
}

void TLoadBackGround::SetFolder(const QString& folder)
{
    folder_ = folder.endsWith('/') ? folder : folder + "/";
    folderLabel_->setText(QDir::toNativeSeparators(folder_));
    files_->clear();
    QStringList names = QDir(folder_).entryList(kMasks, QDir::Files, QDir::Name | QDir::IgnoreCase);
    names.removeDuplicates();
    files_->addItems(names);
    files_->setCurrentRow(-1);
    preview_->clear();
}

bool TLoadBackGround::SelectFile(const QString& name)
{
    for (int i = 0; i < files_->count(); ++i)
        if (files_->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) {
            files_->setCurrentRow(i);
            return true;
        }
    return false;
}

QString TLoadBackGround::SelectedPath() const
{
    const QListWidgetItem* item = files_->currentItem();
    return item && files_->currentRow() >= 0 ? folder_ + item->text() : QString();
}

void TLoadBackGround::showSelectedFile()
{
    const QString path = SelectedPath();
    if (path.isEmpty())
        return;
    TPicture picture;
    if (!picture.LoadFromFile(path)) {
        preview_->clear();
        MessageDlg("Error loading file!", "Error", MessageStyle::Error);
        return;
    }
    // At its natural size, cut to the frame.
    preview_->setPixmap(QPixmap::fromImage(picture.Bitmap()));
}

void TLoadBackGround::applyAndClose()
{
    if (SelectedPath().isEmpty()) {
        QApplication::beep();
        return;
    }
    done(mrOk);
}

void TLoadBackGround::chooseNoBackground() { done(mrNoneChoice); }

void TLoadBackGround::browseForPicture()
{
    FileDialogRequest r;
    r.title = "Background Art";
    r.filter = "Pictures (" + kMasks.join(' ') + ' ' + kMasks.join(' ').toLower() + ")";
    r.folder = folder_;
    r.mustExist = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    SetFolder(info.absolutePath());
    SelectFile(info.fileName());
}

} // namespace cardora

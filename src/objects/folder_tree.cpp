#include "objects/folder_tree.h"
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>

namespace cardora {

TFolderTree::TFolderTree(QWidget* parent) : QTreeView(parent)
{
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    setModel(model_);
    setHeaderHidden(true);
    for (int c = 1; c < model_->columnCount(); ++c)
        hideColumn(c);
    // Whole folder names, with a scroll bar when they are long.
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& index) { emit FolderChosen(model_->filePath(index)); });
    // The model reads folders in the background: the folder asked for is
    // shown once the folders on its way have been read.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
        const QString within = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        if (shown_ == path || shown_.startsWith(within))
            ShowFolder(shown_);
    });
}

void TFolderTree::ShowFolder(const QString& folder)
{
    shown_ = QDir::cleanPath(QDir(folder).absolutePath());
    const QSignalBlocker block(selectionModel());
    const QModelIndex index = model_->index(shown_);
    if (!index.isValid())
        return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    // The folder's name starts at the left edge, its parents' just off it.
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(bar->value() + visualRect(index).left() - indentation());
}

} // namespace cardora

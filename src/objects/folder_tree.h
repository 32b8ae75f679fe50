#pragma once
#include <QTreeView>

class QFileSystemModel;

namespace cardora {

// The folders of the disk as a tree, the one folder chooser of every picture
// browser: a click on a folder reports it, ShowFolder opens the tree at one.
class TFolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit TFolderTree(QWidget* parent = nullptr);

    // Expands the tree down to the folder and selects it, without reporting it.
    void ShowFolder(const QString& folder);

signals:
    void FolderChosen(const QString& folder);

private:
    QFileSystemModel* model_ = nullptr;
    QString shown_;
};

} // namespace cardora

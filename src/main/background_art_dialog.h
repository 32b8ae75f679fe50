#pragma once
#include <QDialog>

class QLabel;
class QListWidget;

namespace cardora {

// "Load  Business Card Background Art ": a list of the pictures of one folder
// with a preview; Ok (1), Cancel (2) or None (99).
class TLoadBackGround : public QDialog {
    Q_OBJECT
public:
    explicit TLoadBackGround(QWidget* parent = nullptr);

    // Lists the pictures of a folder.
    void SetFolder(const QString& folder);
    QString Folder() const { return folder_; }
    // Selects a listed file by name (without regard to case); false when absent.
    bool SelectFile(const QString& name);
    // Full path of the selected file, or empty.
    QString SelectedPath() const;

    void applyAndClose();
    void chooseNoBackground();
    void browseForPicture();

private:
    void showSelectedFile();

    QString folder_;
    QListWidget* files_;
    QLabel* preview_;
    QLabel* folderLabel_;
};

} // namespace cardora

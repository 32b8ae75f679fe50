#pragma once
#include "imaging/picture.h"
#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QScrollArea;

namespace cardora {

class TFolderTree;

// "Load Image File ": a folder tree, the picture files of the chosen folder
// and a preview of the chosen file.
class TQImageBrowser : public QDialog {
    Q_OBJECT
public:
    explicit TQImageBrowser(QWidget* parent = nullptr);

    void SetOptions(bool stretch, bool autoSize);
    // The object's box in card pixels: the size a stretched picture prints
    // at, for the resolution shown under the preview.
    void SetPlacedSize(QSize box);
    bool StretchChecked() const;
    bool AutoSizeChecked() const;

    // Shows the picture files of a folder; false when it does not exist.
    bool SetFolder(const QString& folder);
    QString Folder() const { return folder_; }
    QStringList FileNames() const;
    // Selects a listed file by name (any letter case) and previews it.
    bool SelectFile(const QString& name);
    // Full path of the selected file, or empty.
    QString SelectedFile() const;
    // What the image object receives on Ok.
    const TPicture& PreviewPicture() const { return preview_; }

    void showSelectedFile();
    void applyAndClose();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPreview();

    TFolderTree* folders_ = nullptr;
    QListWidget* files_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QLabel* image_ = nullptr;
    QLabel* status_ = nullptr;
    QCheckBox* stretch_ = nullptr;
    QCheckBox* autoSize_ = nullptr;
    QString folder_;
    QSize placed_;
    TPicture preview_;
};

} // namespace cardora

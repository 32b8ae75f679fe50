#pragma once
#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QStringList>
#include <functional>

class QListWidget;

namespace cardora {

class TFolderTree;

// Reads a texture picture: BMP files directly, icons onto a white bitmap of
// their size, every other kind through the picture reader. A null image when
// the file cannot be read; `announce` is then true for the kinds whose
// failure is shown to the user (".BMP", ".WMF").
QImage LoadTextureFile(const QString& path, bool* announce = nullptr);

// The files a texture can come from.
const QStringList& TextureFileMasks(); // "*.BMP", "*.DIB", ...

// The example area of the browser: a frame that the caller's painter fills
// with its own object showing the texture.
class TTextureExample : public QFrame {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter& painter, const QRect& area)>;
    explicit TTextureExample(QWidget* parent = nullptr);
    void SetPainter(Painter paint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter paint_;
};

// "Load Texture Image": the folder tree, the file list and an example object
// that shows the selected file as its texture. Used by every filled object;
// each gives the example its own look through SetExample.
class TQBrushImageBrowser : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 40012;
    explicit TQBrushImageBrowser(QWidget* parent = nullptr);

    // `paint` draws the example with `texture` in the example area (the size
    // asked for, 75 x 75 for a super shape); called on every repaint.
    using ExamplePainter = std::function<void(QPainter& painter, const QRect& area, const QImage& texture)>;
    void SetExample(QSize size, ExamplePainter paint);

    // Starts on `rememberedFile` when it exists; otherwise in the first of
    // `folders` (names under the application folder, any letter case) that
    // exists, else in the application folder.
    void Start(const QString& rememberedFile, const QStringList& folders);

    QString Folder() const { return folder_; }
    void SetFolder(const QString& folder);
    // Selects and loads a file of the current folder (what a click does).
    void SelectFile(const QString& fileName);

    // The texture of the selected file (null when none or unreadable) and its full path.
    const QImage& Texture() const { return texture_; }
    QString FileName() const { return fileName_; }

    TFolderTree* FolderTree() const { return folders_; }
    QListWidget* FileList() const { return files_; }
    TTextureExample* Example() const { return example_; }

private:
    void fillLists();
    void fileChosen(const QString& name);

    QString folder_;
    QString fileName_;
    QImage texture_;
    ExamplePainter paintExample_;
    TFolderTree* folders_ = nullptr;
    QListWidget* files_ = nullptr;
    TTextureExample* example_ = nullptr;
    bool filling_ = false;
};

} // namespace cardora

#pragma once
#include "imaging/picture.h"
#include "objects/graphic_control.h"
#include "objects/text_label.h"

class QAction;

namespace cardora {

// A picture on the card, a bitmap or a metafile, stretched to the box,
// optionally mirrored and framed.
class TQImage : public TQGraphicControl {
    Q_OBJECT
public:
    explicit TQImage(QObject* owner = nullptr);
    ~TQImage() override;

    static QString StaticClassName() { return QStringLiteral("TQImage"); }
    static TQGraphicControl* Create(QObject* owner) { return new TQImage(owner); }
    static TQImage* CreateForTool(QObject* owner);
    QString ClassName() const override { return StaticClassName(); }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    LabelBorder BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(LabelBorder v);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Reverse() const { return reverse_; }
    void SetReverse(bool v);
    bool Flip() const { return flip_; }
    void SetFlip(bool v);
    const TPicture& Picture() const { return picture_; }
    // Copies the picture and runs PictureChanged.
    void SetPicture(const TPicture& picture);
    // True when the painted box is covered by the picture's own pixels.
    bool Opaque() const { return opaque_; }

    // The card file's Picture.Data: class name, then the graphic's data.
    QByteArray PictureData() const;
    void SetPictureData(const QByteArray& data);

    const PropertyTable& Properties() const override;

    void Paint() override;
    void BoundsChanged() override;
    void PopupOpening() override;
    void PrintAt(TReport& report, double x, double y) override;
    void PrintAtResolution(TReport& report, double x, double y, int ppi);

    void PictureChanged();
    // "Load Image From Disk": the image browser, then the chosen picture.
    // True when a picture was chosen and read.
    bool LoadImageFromDisk();

protected:
    void AddMenuItems(QMenu& menu) override;

private:
    bool autoSize_ = false;
    LabelBorder borderStyle_ = LabelBorder::NoBorder;
    bool stretch_ = true;
    bool reverse_ = false;
    bool flip_ = false;
    bool opaque_ = false;
    TPicture picture_;
    QAction* borderItem_ = nullptr;
    QAction* stretchItem_ = nullptr;
    QAction* autoSizeItem_ = nullptr;
    QAction* flipItem_ = nullptr;
    QAction* reverseItem_ = nullptr;
};

// Registers the kind with its tool (objects/object_kinds.cpp calls it).
void RegisterPictureKind();

} // namespace cardora

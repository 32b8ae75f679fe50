#include "surface/panel_picture_intake.h"
#include "core/modal.h"
#include "imaging/picture.h"
#include "imaging/picture_file.h"
#include "objects/pictures/image_object.h"
#include "surface/card_view.h"
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMimeData>

namespace cardora {

namespace {

bool ListedPictureName(const QString& path)
{
    const QString ext = QStringLiteral("*.") + LastExtension(path);
    return QString::fromLatin1(kImageFileMask).split(QLatin1Char(';')).contains(ext, Qt::CaseInsensitive);
}

QString FirstPictureFile(const QMimeData& data)
{
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && ListedPictureName(url.toLocalFile()))
            return url.toLocalFile();
    return {};
}

} // namespace

TPanelPictureIntake::TPanelPictureIntake(CardView& panel) : QObject(&panel), panel_(panel)
{
    panel.setAcceptDrops(true);
    panel.installEventFilter(this);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { clipboardNewer_ = true; });
}

bool TPanelPictureIntake::HoldsPicture(const QMimeData& data)
{
    return !FirstPictureFile(data).isEmpty() || data.hasFormat(QStringLiteral("image/svg+xml"))
        || data.hasFormat(QStringLiteral("image/png")) || data.hasImage();
}

bool TPanelPictureIntake::ClipboardHoldsPicture()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && HoldsPicture(*data);
}

bool TPanelPictureIntake::PictureFromData(const QMimeData& data, TPicture* picture, QString* message)
{
    message->clear();
    // A copied file keeps its own bytes (its PNG alpha, its SVG vectors).
    if (const QString file = FirstPictureFile(data); !file.isEmpty()) {
        if (picture->LoadFromFile(file))
            return true;
        *message = picture->ErrorText();
        return false;
    }
    auto fromBytes = [&](const QByteArray& bytes, const QString& name) {
        if (picture->LoadFromBytes(bytes, name))
            return true;
        *message = picture->ErrorText();
        return false;
    };
    if (data.hasFormat(QStringLiteral("image/svg+xml")))
        return fromBytes(data.data(QStringLiteral("image/svg+xml")), QStringLiteral("Pasted picture.svg"));
    if (data.hasFormat(QStringLiteral("image/png")))
        return fromBytes(data.data(QStringLiteral("image/png")), QStringLiteral("Pasted picture.png"));
    if (data.hasImage()) {
        // Other image data is kept as PNG, with whatever alpha it has.
        const QImage image = qvariant_cast<QImage>(data.imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (image.isNull() || !QImageWriter(&buffer, "png").write(image)) {
            *message = QStringLiteral("The pasted picture cannot be read");
            return false;
        }
        return fromBytes(png, QStringLiteral("Pasted picture.png"));
    }
    return false;
}

void TPanelPictureIntake::Place(const TPicture& picture, QPoint at)
{
    const QSize card = panel_.PanelSize();
    QSizeF size = QSizeF(picture.Size());
    // Larger than the card: shrunk to fit, keeping its shape.
    if (size.width() > card.width() || size.height() > card.height())
        size.scale(QSizeF(card), Qt::KeepAspectRatio);
    const QSize box(std::max(1, int(size.width())), std::max(1, int(size.height())));
    const int left = std::clamp(at.x() - box.width() / 2, 0, std::max(0, card.width() - box.width()));
    const int top = std::clamp(at.y() - box.height() / 2, 0, std::max(0, card.height() - box.height()));
    auto* image = new TQImage(panel_.Owner());
    image->Loaded();
    image->SetPicture(picture.ToBitmapPicture());
    image->SetStretch(true);
    panel_.PlaceNewObject(image, QRect(QPoint(left, top), box));
    // Exactly the picture's size, below the drawing tools' smallest box too.
    image->SetBounds(left, top, box.width(), box.height());
    panel_.SelectOnly({ image });
    panel_.FireLabelChanged();
}

bool TPanelPictureIntake::PasteIfNewer()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!clipboardNewer_ || !data || !HoldsPicture(*data))
        return false;
    TPicture picture;
    QString message;
    if (!PictureFromData(*data, &picture, &message)) {
        if (message.isEmpty())
            return false;
        MessageDlg(message, QStringLiteral("Error"), MessageStyle::Error);
        return true;
    }
    Place(picture, QPoint(panel_.PanelSize().width() / 2, panel_.PanelSize().height() / 2));
    return true;
}

bool TPanelPictureIntake::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &panel_)
        return false;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData() && !FirstPictureFile(*drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = drop->mimeData() ? FirstPictureFile(*drop->mimeData()) : QString();
        if (file.isEmpty())
            return false;
        drop->acceptProposedAction();
        TPicture picture;
        if (!picture.LoadFromFile(file))
            MessageDlg(picture.ErrorText(), QStringLiteral("Error"), MessageStyle::Error);
        else
            Place(picture, panel_.CardPoint(drop->position()));
        return true;
    }
    return false;
}

} // namespace cardora

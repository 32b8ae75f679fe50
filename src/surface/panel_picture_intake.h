#pragma once
#include <QObject>
#include <QPoint>

class QMimeData;

namespace cardora {

class CardView;
class TPicture;

// Pictures from outside the program: pasted from the system clipboard (a
// browser's or screenshot tool's image, a file manager's copied file) or
// dropped from a file manager onto the card. Each becomes an image object at
// its own size, kept within the card.
class TPanelPictureIntake : public QObject {
    Q_OBJECT
public:
    explicit TPanelPictureIntake(CardView& panel);

    // Paste takes the system clipboard's picture when it arrived after the
    // program's own last copy; true when it placed one.
    bool PasteIfNewer();
    // The program copied objects: Paste gives those until the clipboard changes.
    void OwnCopyMade() { clipboardNewer_ = false; }

    // A picture from clipboard or drag data; false with a message when the
    // data names a picture that cannot be read, or holds none (message empty).
    static bool PictureFromData(const QMimeData& data, TPicture* picture, QString* message);
    static bool HoldsPicture(const QMimeData& data);
    // Whether the system clipboard holds a picture now (Paste is offered).
    static bool ClipboardHoldsPicture();
    // Places a picture as a new image object centred near `at`, selected.
    void Place(const TPicture& picture, QPoint at);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CardView& panel_;
    bool clipboardNewer_ = true;
};

} // namespace cardora

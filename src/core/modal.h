#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace cardora {

// Every modal interaction of the program passes through here, so that tests
// can answer message boxes and fill dialogs without a person.

// QuestionCancel offers Yes, No and Cancel.
enum class MessageStyle { Information, Question, Warning, Error, QuestionCancel };

// Results, numbered as the dialogs of the program return them.
enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7, mrNoneChoice = 99 };

struct FileDialogRequest {
    bool save = false;
    QString title;
    QString filter;      // "CDW File (*.cdw)"
    QString defaultExt;  // "CDW"
    QString folder;      // starting folder
    QString fileName;    // proposed name
    bool overwritePrompt = false;
    bool mustExist = false;
};

// A font with its colour, as the font dialog with effects chooses them.
struct FontChoice {
    QFont font;
    QColor color;
};

class ModalHandler {
public:
    virtual ~ModalHandler() = default;
    virtual int Message(const QString& text, const QString& caption, MessageStyle style) = 0;
    virtual int Dialog(QDialog& dialog) = 0;
    virtual std::optional<QFont> Font(const QFont& initial) = 0;
    // The font dialog with a colour choice; by default the font dialog
    // without one, keeping the colour.
    virtual std::optional<FontChoice> FontWithColor(const QFont& initial, const QColor& color)
    {
        const std::optional<QFont> f = Font(initial);
        if (!f)
            return std::nullopt;
        return FontChoice { *f, color };
    }
    virtual std::optional<QColor> Color(const QColor& initial) = 0;
    virtual QString FileName(const FileDialogRequest& request) = 0;
};

// Installs a handler (tests); nullptr restores the interactive one.
void SetModalHandler(std::shared_ptr<ModalHandler> handler);
ModalHandler& CurrentModalHandler();

// The window modal dialogs belong to and are centred over.
void SetProgramWindow(QWidget* window);
QWidget* ProgramWindow();

// The general message function: returns the button pressed.
int MessageDlg(const QString& text, const QString& caption, MessageStyle style);
void Inform(const QString& text);
bool Ask(const QString& text, const QString& caption);
// Yes, No or Cancel: mrYes, mrNo or mrCancel (closing the box is Cancel).
int AskYesNoCancel(const QString& text, const QString& caption);

// Centres the dialog and runs it modally; returns its result code.
int ExecModal(QDialog& dialog);

std::optional<QFont> ChooseFont(const QFont& initial);
// The font dialog with effects: colour, underline and strike-out.
std::optional<FontChoice> ChooseFontWithColor(const QFont& initial, const QColor& color);
std::optional<QColor> ChooseColor(const QColor& initial);
// The font dialog lists installed families, and a card's "Arial" is
// installed under another name (the metric-compatible stand-in): the dialog
// shows `shown`, the family and style it matched, which may lack the font's
// bold. What the user did not change keeps the initial font's name, weight
// and slant, so opening the dialog to change the size or the colour does not
// rename the font or make bold text thin.
QFont KeepUnchosenFont(const QFont& chosen, const QFont& initial, const QFont& shown);
// Empty when cancelled.
QString ChooseFileName(const FileDialogRequest& request);

// Hourglass cursor.
void BusyOn();
void BusyOff();

} // namespace cardora

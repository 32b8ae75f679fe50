#pragma once
#include <QWidget>

class QTextBrowser;

namespace cardora {

// The help viewer: short HTML pages beside the program, opened by topic number.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    static HelpWindow& Instance();
    void ShowTopic(int topic);
    void ShowContents();
    QString CurrentPage() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(const QString& page);
    void placeOnScreen();
    QTextBrowser* browser_;
};

// Every dialog's Help button and the main window's help commands come here.
void ShowHelpTopic(int topic);
void ShowHelpContents();
void CloseHelpWindow();

// The program's what's-this texts and its right-click "What's this?" for
// every window; once per run, before the first window is shown.
void InstallProgramHelp();

} // namespace cardora

#pragma once
#include <QFrame>
#include <QString>
#include <QStringList>
#include <functional>

class QLabel;
class QToolButton;
class QPushButton;

namespace cardora {

// What the user is doing, as the assistant sees it.
struct TAssistantSituation {
    int Tool = 0;          // the number of the chosen tool (0, PanelTool::Pointing, for the selection tool)
    int Objects = 0;       // objects on the card
    int Selected = 0;      // objects selected
    QString SelectedKind;  // class name of the one selected object
    QString PictureNote;   // the selected picture's print resolution, if any
};

// The Designer Assistant: a small panel beside the card with a tip for what
// the user is doing and a list of quick tips to page through. Closing it is
// remembered in CDW.INI; Quick Tips opens it again.
class TDesignerAssistant : public QFrame {
    Q_OBJECT
public:
    explicit TDesignerAssistant(QWidget* parent = nullptr);

    // The tip for a situation: the tool's when a drawing tool is chosen, else
    // the selection's, else the empty card's or the card's.
    static QString TipFor(const TAssistantSituation& situation);
    static const QStringList& QuickTips();

    // Asked on every refresh; the main window answers from its panel.
    std::function<TAssistantSituation()> Situation;

    // Shows the panel and remembers it open; Close hides it and remembers that.
    void Open();
    void Close();
    // Whether the preferences say it was closed (shown at start otherwise).
    static bool RememberedClosed();

    void Refresh();
    void NextTip();
    void PreviousTip();
    int TipIndex() const { return tipIndex_; }
    QString CurrentTip() const;
    QString SituationText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void showTip();
    void remember(bool closed);

    QLabel* situation_ = nullptr;
    QLabel* tip_ = nullptr;
    QLabel* tipNumber_ = nullptr;
    int tipIndex_ = 0;
    int timer_ = 0;
};

} // namespace cardora

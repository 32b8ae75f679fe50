#include "main/designer_assistant.h"
#include "core/app_folder.h"
#include "core/ini_file.h"
#include "surface/card_panel.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace cardora {

namespace {
constexpr int kRefreshMs = 300;

// What each tool does, after its name as the tool bar shows it.
QString tipForTool(int tool)
{
    RegisterCardObjectKinds();
    const ObjectTool* t = ObjectKinds::Tool(tool);
    if (!t || t->assistantTip.isEmpty())
        return QString();
    return CardPanel::ToolName(static_cast<PanelTool>(tool)) + ": " + t->assistantTip;
}

QString tipForSelection(const QString& kind)
{
    RegisterCardObjectKinds();
    const ObjectKind* k = ObjectKinds::Find(kind);
    if (k && !k->selectionTip.isEmpty())
        return k->selectionTip;
    return "Object selected: drag it to move it, drag a handle to size it, right-click it for its menu.";
}
} // namespace

TDesignerAssistant::TDesignerAssistant(QWidget* parent) : QFrame(parent)
{
    setObjectName("DesignerAssistant");
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(210);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(8, 6, 6, 8);
    auto* header = new QHBoxLayout;
    auto* title = new QLabel("<b>Designer Assistant</b>", this);
    header->addWidget(title, 1);
    auto* close = new QToolButton(this);
    close->setObjectName("AssistantClose");
    close->setText("×");
    close->setAutoRaise(true);
    close->setToolTip("Close the Designer Assistant");
    header->addWidget(close);
    l->addLayout(header);

    situation_ = new QLabel(this);
    situation_->setObjectName("SituationTip");
    situation_->setWordWrap(true);
    situation_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    situation_->setMinimumHeight(70);
    l->addWidget(situation_);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    l->addWidget(line);
    l->addWidget(new QLabel("<b>Quick Tips</b>", this));
    tip_ = new QLabel(this);
    tip_->setObjectName("QuickTip");
    tip_->setWordWrap(true);
    tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    tip_->setMinimumHeight(60);
    l->addWidget(tip_);
    auto* paging = new QHBoxLayout;
    auto* previous = new QPushButton("< &Back", this);
    previous->setObjectName("PreviousTip");
    tipNumber_ = new QLabel(this);
    tipNumber_->setObjectName("TipNumber");
    tipNumber_->setAlignment(Qt::AlignCenter);
    auto* next = new QPushButton("&Next >", this);
    next->setObjectName("NextTip");
    paging->addWidget(previous);
    paging->addWidget(tipNumber_, 1);
    paging->addWidget(next);
    l->addLayout(paging);
    l->addStretch(1);

    connect(close, &QToolButton::clicked, this, [this] { Close(); });
    connect(previous, &QPushButton::clicked, this, [this] { PreviousTip(); });
    connect(next, &QPushButton::clicked, this, [this] { NextTip(); });
    tipIndex_ = std::clamp(IniFile(PreferencesFileName()).ReadInteger("Assistant", "Tip", 0), 0,
        static_cast<int>(QuickTips().size()) - 1);
    showTip();
}

const QStringList& TDesignerAssistant::QuickTips()
{
    static const QStringList tips {
        "Keep important text at least an eighth of an inch inside the card's edge: printers and cutters are "
        "never exact.",
        "Press the keypad + and - keys to zoom between 100% and 150%.",
        "Show grid and Snap to Grid on the tool bar help you line objects up.",
        "Fill in Edit › Personal Information once; the Text tool then offers your name, phone and e-mail.",
        "Print an Outline Test Page on plain paper and hold it against your card stock before printing cards.",
        "When your printer prints a little off, Printer Fine Tuning moves everything in steps of 1/32 inch.",
        "Right-click an object and choose Bring To Front or Send To Back to change which one lies on top.",
        "Hold Shift and click to add an object to the selection; Shift-click a selected one to leave it out.",
        "The arrow keys move the selected objects one pixel at a time.",
        "Set or Change Background Art puts a picture behind the whole card.",
        "Ctrl+C, Ctrl+X and Ctrl+V copy, cut and paste objects, also from one card to another.",
        "File › Export... writes the card as a PNG or JPEG picture at up to 1200 dpi, or as a PDF or SVG page "
        "for a print shop.",
        "Tick Crop marks in Print Cards to get thin cutting marks outside each card's corners.",
    };
    return tips;
}

QString TDesignerAssistant::TipFor(const TAssistantSituation& s)
{
    if (s.Tool != int(PanelTool::Pointing)) {
        const QString tip = tipForTool(s.Tool);
        if (!tip.isEmpty())
            return tip;
    }
    if (s.Selected > 1)
        return QString("%1 objects selected: drag one of them to move them all, press Delete to remove them or "
                       "Ctrl+C to copy them.")
            .arg(s.Selected);
    if (s.Selected == 1)
        return s.PictureNote.isEmpty() ? tipForSelection(s.SelectedKind)
                                       : tipForSelection(s.SelectedKind) + QStringLiteral("\n\n") + s.PictureNote;
    if (s.Objects == 0)
        return "Your card is empty. Choose a tool on the tool bar, such as the Text tool, then drag a box on the "
               "card to place the object.";
    return "Click an object to select it, or drag a box around several. Right-click an object for everything "
           "you can change about it.";
}

void TDesignerAssistant::Open()
{
    show();
    remember(false);
    Refresh();
}

void TDesignerAssistant::Close()
{
    hide();
    remember(true);
}

bool TDesignerAssistant::RememberedClosed()
{
    return IniFile(PreferencesFileName()).ReadBool("Assistant", "Closed", false);
}

void TDesignerAssistant::remember(bool closed)
{
    IniFile ini(PreferencesFileName());
    if (ini.ReadBool("Assistant", "Closed", false) != closed || !ini.ValueExists("Assistant", "Closed"))
        ini.WriteBool("Assistant", "Closed", closed);
}

void TDesignerAssistant::Refresh()
{
    if (!Situation)
        return;
    const QString text = TipFor(Situation());
    if (situation_->text() != text)
        situation_->setText(text);
}

QString TDesignerAssistant::SituationText() const { return situation_->text(); }
QString TDesignerAssistant::CurrentTip() const { return QuickTips().value(tipIndex_); }

void TDesignerAssistant::NextTip()
{
    tipIndex_ = (tipIndex_ + 1) % QuickTips().size();
    showTip();
}

void TDesignerAssistant::PreviousTip()
{
    tipIndex_ = (tipIndex_ + QuickTips().size() - 1) % QuickTips().size();
    showTip();
}

void TDesignerAssistant::showTip()
{
    if (isVisible())
        IniFile(PreferencesFileName()).WriteInteger("Assistant", "Tip", tipIndex_);
    tip_->setText(QuickTips().value(tipIndex_));
    tipNumber_->setText(QString("%1 of %2").arg(tipIndex_ + 1).arg(QuickTips().size()));
}

void TDesignerAssistant::showEvent(QShowEvent* event)
{
    QFrame::showEvent(event);
    Refresh();
    if (!timer_)
        timer_ = startTimer(kRefreshMs);
}

// The tip follows the user's tool and selection while the panel is shown.
void TDesignerAssistant::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != timer_)
        return QFrame::timerEvent(event);
    if (!isVisible()) {
        killTimer(timer_);
        timer_ = 0;
        return;
    }
    Refresh();
}

} // namespace cardora

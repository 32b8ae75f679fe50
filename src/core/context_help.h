#pragma once
#include <QHash>
#include <QString>
#include <functional>

class QWidget;

namespace cardora {

// What's-this help for every window of the program: texts come from one
// table keyed by the controls' object names, so a new dialog gets its help by
// table entries, not code. A text set in code takes precedence.
//
// Table keys are "Window/Control" (the window's and the control's object
// names) or "*/Control" for a control every window has (Help, Cancel, ...).
// Menu items are found by their action's object name in the same way.
void SetWhatsThisTexts(const QHash<QString, QString>& texts);
// Reads a table: [Window] sections (or [*]) of Control=text lines; "\n" in a
// text is a line break, "#" starts a comment line.
QHash<QString, QString> ParseWhatsThisTexts(const QByteArray& text);
// The table's text for a control of a window; empty when it has none.
QString WhatsThisTextFor(const QString& windowName, const QString& controlName);

// Gives every named child of `window` (and every named action) that has no
// what's-this text the table's text.
void ApplyWhatsThis(QWidget* window);

// Once per program: every window shown gets its texts, and a right click on
// a control that has a text offers "What's this?" (the menu WhatsThisMenu,
// added to the control's own menu where it has one). Widgets with the
// property "ownContextMenu" set keep their right click to themselves.
void InstallContextHelp();

// F1 (handled by what InstallContextHelp installs) opens the help topic of
// the control that has the focus: the topic set on it or on a container of
// it in the same window; else the window's Help button ("HelpButton", any
// letter case) is pressed; else the help contents open.
void SetHelpTopic(QWidget* widget, int topic);
// The topic F1 opens for a control, 0 when it falls to the window's button.
int HelpTopicFor(const QWidget* widget);
// Where topics are opened (topic 0: the contents).
void SetHelpTopicHandler(std::function<void(int topic)> handler);
// What F1 does for a control; true when something opened.
bool HelpForFocus(QWidget* widget);

} // namespace cardora

// Two-sided cards: the back side of a card and switching the window to it.
#include "main/back_side.h"
#include "core/modal.h"
#include "core/safe_file.h"
#include "main/card_sidecar.h"
#include <QDir>
#include <QFileInfo>

namespace cardora {

BackSideCommands::BackSideCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("mnuBackSide", "&Back Side...", [this] { chooseBackSide(); });
    addAction("mnuSwitchSide", "Show Bac&k Side", [this] { switchSide(); })->setShortcut(QKeySequence("Ctrl+B"));
}

void BackSideCommands::updateActions()
{
    const CardFileState& card = context_.card();
    action("mnuSwitchSide")->setText(card.frontOfBack.isEmpty() ? "Show Bac&k Side" : "Show &Front Side");
    action("mnuSwitchSide")->setEnabled(!card.frontOfBack.isEmpty() || !card.backSide.isEmpty());
}

bool BackSideCommands::setBackSide(const QString& path)
{
    CardFileState& card = context_.card();
    if (!card.fileName.isEmpty()) {
        // Only the sidecar changes: its art line stays as saved, so that
        // unsaved art is not written behind the user's back.
        const QString problem = SidecarProblem(card.fileName);
        if (!problem.isEmpty() || !WriteSidecar(card.fileName, ReadSidecar(card.fileName), path)) {
            Inform(problem.isEmpty() ? "Cannot create file " + QDir::toNativeSeparators(SidecarFileName(card.fileName))
                                     : problem);
            return false;
        }
    } else if (!path.isEmpty()) {
        context_.setChangesMade(true); // remembered when the card is first saved
    }
    card.backSide = path;
    context_.cardStateChanged();
    return true;
}

void BackSideCommands::chooseBackSide()
{
    const CardFileState& card = context_.card();
    if (!card.frontOfBack.isEmpty()) {
        Inform("This is the back side of " + QFileInfo(card.frontOfBack).fileName()
            + ". Show the front side (File > Show Front Side) to choose its back.");
        return;
    }
    if (!card.backSide.isEmpty()) {
        const int answer = AskYesNoCancel("The back side of this card is " + QDir::toNativeSeparators(card.backSide)
                + ".\n\nChoose another card for the back? (No: the card has no back side)",
            "Back Side");
        if (answer == mrCancel)
            return;
        if (answer == mrNo) {
            setBackSide(QString());
            return;
        }
    }
    FileDialogRequest r;
    r.title = "Back Side";
    r.filter = "CDW File (*.CDW *.cdw)";
    r.defaultExt = "CDW";
    r.folder = card.backSide.isEmpty() ? CardFolder(context_) : QFileInfo(card.backSide).absolutePath();
    r.mustExist = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    if (const QString refusal = CheckInputFile(path); !refusal.isEmpty()) {
        Inform(refusal);
        return;
    }
    setBackSide(QFileInfo(path).absoluteFilePath());
}

void BackSideCommands::switchSide()
{
    CardFileState& card = context_.card();
    if (card.frontOfBack.isEmpty() && card.backSide.isEmpty()) {
        Inform("This card has no back side: choose one with File > Back Side...");
        return;
    }
    if (card.frontOfBack.isEmpty() && card.fileName.isEmpty()) {
        Inform("Save the card first, so that the window can come back to it from its back side.");
        return;
    }
    if (!context_.saveChangesFirst())
        return;
    const bool toBack = card.frontOfBack.isEmpty();
    const QString target = toBack ? card.backSide : card.frontOfBack;
    const QString from = card.fileName;
    if (!QFileInfo::exists(target)) {
        Inform("Cannot open file " + QDir::toNativeSeparators(target));
        return;
    }
    context_.openCard(target);
    if (card.fileName != target)
        return; // it could not be read; the card shown stays
    card.frontOfBack = toBack ? from : QString();
    context_.cardStateChanged();
}

} // namespace cardora

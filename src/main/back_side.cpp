// Two-sided cards: the back side of a card and switching the window to it.
#include "core/modal.h"
#include "core/safe_file.h"
#include "main/card_sidecar.h"
#include "main/main_window.h"
#include <QDir>
#include <QFileInfo>

namespace cardora {

bool MainWindow::SetBackSide(const QString& path)
{
    if (!cardFileName_.isEmpty()) {
        // Only the sidecar changes: its art line stays as saved, so that
        // unsaved art is not written behind the user's back.
        const QString problem = SidecarProblem(cardFileName_);
        if (!problem.isEmpty() || !WriteSidecar(cardFileName_, ReadSidecar(cardFileName_), path)) {
            Inform(problem.isEmpty() ? "Cannot create file " + QDir::toNativeSeparators(SidecarFileName(cardFileName_))
                                     : problem);
            return false;
        }
    } else if (!path.isEmpty()) {
        SetChangesMade(true); // remembered when the card is first saved
    }
    backSidePath_ = path;
    Setbuttons();
    return true;
}

void MainWindow::mnuBackSideClick()
{
    if (!frontOfBack_.isEmpty()) {
        Inform("This is the back side of " + QFileInfo(frontOfBack_).fileName()
            + ". Show the front side (File > Show Front Side) to choose its back.");
        return;
    }
    if (!backSidePath_.isEmpty()) {
        const int answer = AskYesNoCancel("The back side of this card is " + QDir::toNativeSeparators(backSidePath_)
                + ".\n\nChoose another card for the back? (No: the card has no back side)",
            "Back Side");
        if (answer == mrCancel)
            return;
        if (answer == mrNo) {
            SetBackSide(QString());
            return;
        }
    }
    FileDialogRequest r;
    r.title = "Back Side";
    r.filter = "CDW File (*.CDW *.cdw)";
    r.defaultExt = "CDW";
    r.folder = backSidePath_.isEmpty() ? CardFolder() : QFileInfo(backSidePath_).absolutePath();
    r.mustExist = true;
    const QString path = ChooseFileName(r);
    if (path.isEmpty())
        return;
    if (const QString refusal = CheckInputFile(path); !refusal.isEmpty()) {
        Inform(refusal);
        return;
    }
    SetBackSide(QFileInfo(path).absoluteFilePath());
}

void MainWindow::mnuSwitchSideClick()
{
    if (frontOfBack_.isEmpty() && backSidePath_.isEmpty()) {
        Inform("This card has no back side: choose one with File > Back Side...");
        return;
    }
    if (frontOfBack_.isEmpty() && cardFileName_.isEmpty()) {
        Inform("Save the card first, so that the window can come back to it from its back side.");
        return;
    }
    if (!CheckSaveNeeded())
        return;
    const bool toBack = frontOfBack_.isEmpty();
    const QString target = toBack ? backSidePath_ : frontOfBack_;
    const QString from = cardFileName_;
    if (!QFileInfo::exists(target)) {
        Inform("Cannot open file " + QDir::toNativeSeparators(target));
        return;
    }
    OpenBCFile(target);
    if (cardFileName_ != target)
        return; // it could not be read; the card shown stays
    frontOfBack_ = toBack ? from : QString();
    Setbuttons();
}

} // namespace cardora

#include "core/modal.h"
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace cardora;

// Names and texts from files reach message boxes as they are: markup in a
// folder's name is shown, never rendered (an image tag there would make the
// box read whatever file it names).
TEST(Messages, ShowNamesAsPlainText)
{
    SetModalHandler(nullptr); // the real message box
    const QString names[] = {
        "/home/a/<img src=\"file:%2Fdev%2Fzero\">folder.CDW does not exist",
        "<b>bold</b> & <i>italic</i>.CDW",
        "<a href='x'>link</a>",
        "plain name.CDW",
    };
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QString shown;
        Qt::TextFormat format = Qt::RichText;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    format = box->textFormat();
                    if (auto* label = box->findChild<QLabel*>("qt_msgbox_label"))
                        shown = label->text();
                    box->accept();
                }
        });
        Inform(name);
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_EQ(shown, name);
    }
}

#include "core/modal.h"
#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace cardora;

namespace {
QFont font(const char* family, int points, bool bold = false)
{
    QFont f(QString::fromLatin1(family), points);
    f.setBold(bold);
    return f;
}
} // namespace

// A font dialog opened on a card's font shows the installed family and style
// it matched; what the user confirms without changing keeps the card's own.
TEST(FontDialogFamily, WhatTheUserDidNotChangeKeepsTheFontsOwn)
{
    struct Case {
        const char* what;
        QFont initial, shown, chosen;
        const char* family;
        bool bold;
    };
    const Case cases[] = {
        { "stand-in confirmed", font("Arial", 10), font("Sans Serif", 10), font("Sans Serif", 14), "Arial", false },
        { "stand-in without bold confirmed", font("Arial", 48, true), font("Sans Serif", 48),
            font("Sans Serif", 12), "Arial", true },
        { "another family picked", font("Arial", 10, true), font("Sans Serif", 10), font("Liberation Serif", 14),
            "Liberation Serif", true },
        { "bold picked", font("Arial", 10), font("Sans Serif", 10), font("Sans Serif", 10, true), "Arial", true },
        { "bold taken off", font("Liberation Sans", 10, true), font("Liberation Sans", 10, true),
            font("Liberation Sans", 10), "Liberation Sans", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFont chosen = c.chosen;
        chosen.setStrikeOut(true);
        const QFont kept = KeepUnchosenFont(chosen, c.initial, c.shown);
        EXPECT_EQ(kept.family(), QString::fromLatin1(c.family));
        EXPECT_EQ(kept.bold(), c.bold);
        // Size and effects are the dialog's choice.
        EXPECT_EQ(kept.pointSize(), chosen.pointSize());
        EXPECT_TRUE(kept.strikeOut());
    }
}

namespace {
// What the open font dialog shows of the colour: whether its button sits
// with the effects check boxes, and the sample text's colour.
struct ColorShown {
    bool withEffects = false;
    QColor sample;
};

ColorShown inspect(QFontDialog& dialog)
{
    ColorShown shown;
    if (auto* button = dialog.findChild<QPushButton*>("FontColorButton"))
        for (QWidget* up = button->parentWidget(); up && up != &dialog; up = up->parentWidget())
            if (auto* box = qobject_cast<QGroupBox*>(up))
                shown.withEffects = !box->findChildren<QCheckBox*>().isEmpty();
    if (auto* sample = dialog.findChild<QLineEdit*>("qt_fontDialog_sampleEdit"))
        shown.sample = sample->palette().color(QPalette::Text);
    return shown;
}
} // namespace

// The program's own font dialog (not the test script): the colour choice
// sits with the effects, the sample shows the colour, and OK returns it.
TEST(FontDialogColor, OfferedWithTheEffectsShownInTheSampleAndReturned)
{
    SetModalHandler(nullptr);
    const struct {
        QColor given, expected;
    } cases[] = { { Qt::red, Qt::red }, { QColor(0, 128, 0), QColor(0, 128, 0) }, { QColor(), Qt::black } };
    for (const auto& c : cases) {
        ColorShown shown;
        bool opened = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QFontDialog*>(w); dialog && dialog->isVisible()) {
                    opened = true;
                    shown = inspect(*dialog);
                    dialog->accept();
                }
        });
        const std::optional<FontChoice> choice = ChooseFontWithColor(QFont("Liberation Sans", 12), c.given);
        ASSERT_TRUE(opened);
        EXPECT_TRUE(shown.withEffects);
        EXPECT_EQ(shown.sample, c.expected);
        ASSERT_TRUE(choice.has_value());
        EXPECT_EQ(choice->color, c.expected);
        EXPECT_EQ(choice->font.pointSize(), 12);
    }
}

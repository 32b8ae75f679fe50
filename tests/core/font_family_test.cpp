#include "core/modal.h"
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

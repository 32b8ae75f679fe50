#include "core/modal.h"
#include <gtest/gtest.h>

using namespace cardora;

// A font dialog opened on a card's font shows the installed family it
// matched; confirming it without picking another family keeps the card's name.
TEST(FontDialogFamily, ConfirmingWithoutPickingAFamilyKeepsTheFontsName)
{
    struct Case {
        const char* what;
        const char* initial;
        const char* shown;
        const char* chosen;
        const char* expected;
    };
    const Case cases[] = {
        { "shown as its stand-in, confirmed", "Arial", "Sans Serif", "Sans Serif", "Arial" },
        { "shown as its stand-in, another picked", "Arial", "Sans Serif", "Liberation Serif", "Liberation Serif" },
        { "installed under its own name", "Liberation Sans", "Liberation Sans", "Liberation Sans", "Liberation Sans" },
        { "own name shown, another picked", "Liberation Sans", "Liberation Sans", "DejaVu Sans", "DejaVu Sans" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFont chosen(QString::fromLatin1(c.chosen), 14);
        chosen.setStrikeOut(true);
        const QFont kept = KeepUnchosenFamily(chosen, QFont(QString::fromLatin1(c.initial), 10), c.shown);
        EXPECT_EQ(kept.family(), QString::fromLatin1(c.expected));
        // Everything else is the dialog's choice.
        EXPECT_EQ(kept.pointSize(), 14);
        EXPECT_TRUE(kept.strikeOut());
    }
}

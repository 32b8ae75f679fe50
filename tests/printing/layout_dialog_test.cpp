#include "printing/layout_dialog.h"
#include "printing/card_stocks.h"
#include "printing/number_edit.h"
#include "support/scripted_modal.h"
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

using namespace cardora;
using cardora::test::ScriptedModal;

namespace {
struct LayoutDialogFixture : ::testing::Test {
    std::shared_ptr<ScriptedModal> modal;
    std::unique_ptr<TEditCardLayout> dialog;

    void SetUp() override { modal = ScriptedModal::Install(); }
    void TearDown() override
    {
        dialog.reset();
        SetModalHandler(nullptr);
    }
    // Opened as the main window opens it: unit, working copy, then shown.
    void open(const TCardLayout& values, bool mm = false)
    {
        dialog = std::make_unique<TEditCardLayout>();
        dialog->SetUseMM(mm);
        dialog->Values = values;
        dialog->show();
    }
    QStringList edits() const
    {
        return { dialog->eCardwidth->text(), dialog->eCardHeight->text(), dialog->eHorizPitch->text(),
            dialog->eVertPitch->text(), dialog->eleftmarg->text(), dialog->etopmarg->text() };
    }
    int result() const { return dialog->result(); }
    QStringList messages() const
    {
        QStringList out;
        for (const auto& m : modal->messages)
            out << m.text;
        return out;
    }
};
} // namespace

TEST_F(LayoutDialogFixture, OpensWithTheValuesInInchesAndTheChosenStockWithoutReloadingIt)
{
    TCardLayout l;
    l.PredefLayout = 12; // the list shows the stock, but the values are the user's own
    l.Width = 3.25;
    open(l);
    EXPECT_EQ(dialog->windowTitle(), "Business Card Layout");
    // The program's stocks, then any of the user's own.
    EXPECT_GE(dialog->PredefinedLayouts->count(), static_cast<int>(ShippedCardStocks().size()));
    EXPECT_EQ(dialog->PredefinedLayouts->itemText(13), "Avery Business Card L7419 (A4)");
    EXPECT_EQ(dialog->PredefinedLayouts->maxVisibleItems(), 13);
    EXPECT_EQ(dialog->PredefinedLayouts->currentIndex(), 12);
    EXPECT_EQ(edits(), QStringList({ "3.25", "2", "3.5", "2", "0.75", "0.5" }));
    EXPECT_EQ(dialog->enbracross->value(), 2);
    EXPECT_EQ(dialog->enbrdown->value(), 5);
    EXPECT_EQ(dialog->epapersize->currentIndex(), 0);
    EXPECT_EQ(dialog->epapersize->count(), 3);
    EXPECT_EQ(dialog->epapersize->itemText(0), "Letter (8.5 x 11\")");
    EXPECT_EQ(dialog->epapersize->itemText(1), "A4 (210 x 297mm)");
    EXPECT_TRUE(dialog->Inchesbutton->isChecked());
    EXPECT_EQ(dialog->enbracross->minimum(), 1);
    EXPECT_EQ(dialog->enbracross->maximum(), 10);
    EXPECT_EQ(dialog->enbrdown->maximum(), 30);
}

TEST_F(LayoutDialogFixture, MillimetresAndBackKeepTheValues)
{
    open(TCardLayout());
    dialog->MMButton->click();
    EXPECT_EQ(edits(), QStringList({ "88.90", "50.80", "88.90", "50.80", "19.05", "12.70" }));
    dialog->Inchesbutton->click();
    // After the switch back at least one decimal is shown.
    EXPECT_EQ(edits(), QStringList({ "3.5", "2.0", "3.5", "2.0", "0.75", "0.5" }));
    EXPECT_DOUBLE_EQ(dialog->Values.Width, 3.5);
    EXPECT_DOUBLE_EQ(dialog->Values.TopMargin, 0.5);

    // A stored millimetre choice shows millimetres at once.
    TCardLayout l;
    l.Height = 2.047;
    open(l, true);
    EXPECT_TRUE(dialog->MMButton->isChecked());
    EXPECT_EQ(dialog->eCardHeight->text(), "51.99");
}

TEST_F(LayoutDialogFixture, EightyNineMillimetresAreStoredAsThreePointFiveZeroFourInches)
{
    open(TCardLayout(), true);
    dialog->eCardwidth->setText("89");
    dialog->eHorizPitch->setText("89");
    dialog->applyAndClose();
    EXPECT_EQ(result(), mrOk);
    EXPECT_TRUE(modal->messages.empty());
    EXPECT_EQ(dialog->Values.Width, 3.504);
    EXPECT_EQ(dialog->Values.HPitch, 3.504);
    EXPECT_EQ(dialog->Values.Height, 2.0);
    EXPECT_TRUE(dialog->UseMM());
}

TEST_F(LayoutDialogFixture, ChoosingAStockInMillimetresShowsItsSizesAndSelectsA4)
{
    open(TCardLayout(), true);
    dialog->PredefinedLayouts->setCurrentIndex(12);
    EXPECT_EQ(dialog->eCardHeight->text(), "54.00");
    EXPECT_EQ(dialog->eCardwidth->text(), "89.99");
    EXPECT_EQ(dialog->etopmarg->text(), "13.49");
    EXPECT_EQ(dialog->eleftmarg->text(), "15.01");
    EXPECT_EQ(dialog->epapersize->currentIndex(), 1);
    dialog->applyAndClose();
    ASSERT_EQ(result(), mrOk);
    EXPECT_EQ(dialog->Values.Width, 3.543);
    EXPECT_EQ(dialog->Values.Height, 2.126);
    EXPECT_EQ(dialog->Values.TopMargin, 0.531);
    EXPECT_EQ(dialog->Values.Papersize, 9);
    EXPECT_EQ(dialog->Values.PredefLayout, 12);
}

TEST_F(LayoutDialogFixture, LeavingTheWidthRaisesThePitchButOkStillChecksIt)
{
    open(TCardLayout());
    dialog->eCardwidth->setText("3.6");
    dialog->applyCardWidth();
    EXPECT_EQ(dialog->eHorizPitch->text(), "3.6");
    dialog->eCardHeight->setText("2.1"); // five rows still end on the sheet
    dialog->applyCardHeight();
    EXPECT_EQ(dialog->eVertPitch->text(), "2.1");

    // The pitch lowered again, OK pressed with the focus in the pitch edit.
    dialog->eHorizPitch->setText("3.5");
    dialog->eHorizPitch->setFocus();
    dialog->applyAndClose();
    EXPECT_EQ(messages(), QStringList({ "Horizontal Pitch must be at least = Card Width" }));
    EXPECT_EQ(modal->messages[0].caption, "Information");
    EXPECT_NE(result(), mrOk);
    EXPECT_TRUE(dialog->isVisible()); // stays open with the entries
    EXPECT_EQ(dialog->eHorizPitch->text(), "3.5");

    // A width typed and OK pressed while its edit has the focus raises the pitch first.
    modal->messages.clear();
    dialog->eCardwidth->setText("3.7");
    dialog->eCardwidth->setFocus();
    dialog->applyAndClose();
    EXPECT_TRUE(modal->messages.empty());
    EXPECT_EQ(result(), mrOk);
    EXPECT_EQ(dialog->Values.HPitch, 3.7);
}

TEST_F(LayoutDialogFixture, EachFailedCheckShowsItsMessageAndKeepsTheDialogOpen)
{
    struct Case {
        const char* edit;
        const char* value;
        const char* message;
    };
    const Case cases[] = {
        { "eCardHeight", "0.29", "Card Height must be at least .3 inches (or 7mm)" },
        { "eCardwidth", "0.49", "Card Width must be at least .5 inch (or 13mm)" },
        { "eHorizPitch", "3.4", "Horizontal Pitch must be at least = Card Width" },
        { "eVertPitch", "1.9", "Vertical Pitch must be at least = Card Height" },
    };
    for (const Case& c : cases) {
        open(TCardLayout());
        modal->messages.clear();
        dialog->findChild<TNumberEdit*>(c.edit)->setText(c.value);
        dialog->applyAndClose();
        EXPECT_EQ(messages(), QStringList({ c.message })) << c.edit;
        EXPECT_EQ(result(), 0) << c.edit;
    }
    // One column of 4-inch cards with no pitch is fine.
    open(TCardLayout());
    modal->messages.clear();
    dialog->enbracross->setValue(1);
    dialog->eCardwidth->setText("4");
    dialog->eHorizPitch->setText("0");
    dialog->applyAndClose();
    EXPECT_TRUE(modal->messages.empty());
    EXPECT_EQ(result(), mrOk);
    EXPECT_EQ(dialog->Values.Across, 1);
    EXPECT_EQ(dialog->Values.HPitch, 0.0);
}

TEST_F(LayoutDialogFixture, TheEmptyPaperItemKeepsThePaperAndCancelReturnsTwo)
{
    TCardLayout l;
    l.Papersize = 9;
    open(l);
    EXPECT_EQ(dialog->epapersize->currentIndex(), 1);
    dialog->epapersize->setCurrentIndex(2);
    dialog->applyAndClose();
    EXPECT_EQ(dialog->Values.Papersize, 9);
    dialog->epapersize->setCurrentIndex(0);
    dialog->applyAndClose();
    EXPECT_EQ(dialog->Values.Papersize, 1);

    open(TCardLayout());
    dialog->cancelAndClose();
    EXPECT_EQ(result(), mrCancel);
    open(TCardLayout());
    dialog->reject(); // Escape or the close box
    EXPECT_EQ(result(), mrCancel);

    int topic = 0;
    QObject::connect(dialog.get(), &TEditCardLayout::HelpRequested, [&](int t) { topic = t; });
    dialog->showHelp();
    EXPECT_EQ(topic, 3101);
}

TEST(NumberEdit, MasksShowTheDecimalsOfTheirUnit)
{
    TNumberEdit e;
    e.SetMask(TNumberEdit::Mask::UpToThree);
    EXPECT_EQ(e.Format(2.0), "2");
    EXPECT_EQ(e.Format(3.5039), "3.504");
    EXPECT_EQ(e.Format(0.75), "0.75");
    e.SetMask(TNumberEdit::Mask::OneToThree);
    EXPECT_EQ(e.Format(2.0), "2.0");
    EXPECT_EQ(e.Format(0.591), "0.591");
    e.SetMask(TNumberEdit::Mask::Fixed, 2);
    EXPECT_EQ(e.Format(88.9), "88.90");
    e.setText("abc");
    EXPECT_EQ(e.Value(), 0.0);
    e.setText("12.5");
    EXPECT_EQ(e.Value(), 12.5);
}

#include "labels_helpers.h"
#include "objects/multiline_label.h"
#include "objects/text_label_dialogs.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace cardora;
using namespace cardora::test;

namespace {

const QStringList kInfo = { "Ann Smith", "Acme", "", "1 Main St", "", "", "555-1234", "", "ann@acme.test", "" };

const QStringList kCommonItems = { "Bring To Front", "Send To Back", "Cut", "Copy", "Delete", "Clone", "-", "Locked",
    "Unselectable", "-", "Center Vertically", "Center Horizontally" };

QStringList ItemTexts(const QComboBox& combo)
{
    QStringList out;
    for (int i = 0; i < combo.count(); ++i)
        out << combo.itemText(i);
    return out;
}

void Trigger(QMenu& menu, const QString& caption)
{
    QAction* a = FindItem(menu, caption);
    ASSERT_NE(a, nullptr) << caption.toStdString();
    a->trigger();
}

} // namespace

TEST_F(LabelsFixture, MenusOfTheThreeKinds)
{
    parent.Info = kInfo;
    auto* business = make<TQBusinessCardLabel>(0, 0, 142, 33);
    QStringList expected = QStringList { "Personal Information", "-" } + kCommonItems
        + QStringList { "-", "Font", "3D Effects", "Alignment", "Transparent", "Background Color", "Border", "-",
              "Text", "-", "Rotation" };
    EXPECT_EQ(Captions(*business->ObjectMenu()), expected);
    EXPECT_EQ(Captions(*SubMenu(*business->ObjectMenu(), "Alignment")), QStringList({ "Left", "Center", "Right" }));
    EXPECT_EQ(Captions(*SubMenu(*business->ObjectMenu(), "Rotation")),
        QStringList({ "No Rotation", "90 Degrees", "180 Degrees", "270 Degrees" }));

    auto* plain = make<TQPLabel>(0, 0, 142, 33);
    expected.erase(expected.begin(), expected.begin() + 2);
    EXPECT_EQ(Captions(*plain->ObjectMenu()), expected);

    // A label off the panel has no personal information to offer.
    TQBusinessCardLabel loose;
    EXPECT_EQ(Captions(*loose.ObjectMenu()), expected);
    EXPECT_EQ(loose.PersonalInfoMenu(), nullptr);

    auto* symbol = make<TQSymbolLabel>(0, 0, 40, 40);
    const QStringList symbolItems = kCommonItems
        + QStringList { "-", "3D Effects", "Transparent", "Background Color", "Border", "-", "Symbol Selector" };
    EXPECT_EQ(Captions(*symbol->ObjectMenu()), symbolItems);
}

TEST_F(LabelsFixture, PersonalInformationSubmenuIsRebuiltAtEachOpening)
{
    parent.Info = kInfo;
    auto* label = make<TQBusinessCardLabel>(10, 10, 20, 20);
    QMenu* menu = label->ObjectMenu();
    QMenu* info = SubMenu(*menu, "Personal Information");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Captions(*info),
        QStringList({ "Name\tAnn Smith", "Company\tAcme", "Title\t", "Address 1\t1 Main St", "Address 2\t",
            "Address 3\t", "Phone 1\t555-1234", "Phone 2\t", "EMail\tann@acme.test", "Fax\t" }));

    // Values edited since show at the next opening; a short list is padded.
    parent.Info = QStringList { "Bob Jones", "Widgets Ltd" };
    emit menu->aboutToShow();
    info = SubMenu(*menu, "Personal Information");
    ASSERT_EQ(info->actions().size(), 10);
    EXPECT_EQ(info->actions()[1]->text(), "Company\tWidgets Ltd");
    EXPECT_EQ(info->actions()[9]->text(), "Fax\t");
    // Empty entries show but cannot be chosen: they would wipe the caption.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(info->actions()[i]->isEnabled(), i < 2) << i;

    // One click puts the value into the label and fits the box to it.
    const int changes = parent.ChangedCount;
    info->actions()[1]->trigger();
    EXPECT_EQ(label->Caption(), "Widgets Ltd");
    EXPECT_GT(parent.ChangedCount, changes);
    EXPECT_GE(label->Width(), ScreenWidth(*label, "Widgets Ltd     "));

    // Only the text after the first tab, at most 255 characters of it.
    label->setCaptionFromPersonalInfo("Title\tA\tB");
    EXPECT_EQ(label->Caption(), "A\tB");
    label->setCaptionFromPersonalInfo("Name\t" + QString(300, 'x'));
    EXPECT_EQ(label->Caption(), QString(255, 'x'));
}

TEST_F(LabelsFixture, CheckMarksFollowTheProperties)
{
    auto* label = make<TQBusinessCardLabel>(0, 0, 142, 33);
    QMenu* menu = label->ObjectMenu();
    label->SetAngle(180);
    label->SetAlignment(TextAlignment::RightJustify);
    label->SetBorderStyle(LabelBorder::Single);
    emit menu->aboutToShow();
    EXPECT_EQ(Checked(*SubMenu(*menu, "Alignment")), QStringList({ "Right" }));
    EXPECT_EQ(Checked(*SubMenu(*menu, "Rotation")), QStringList({ "180 Degrees" }));
    EXPECT_TRUE(FindItem(*menu, "Border")->isChecked());
    EXPECT_TRUE(FindItem(*menu, "Transparent")->isChecked());

    Trigger(*menu, "Transparent");
    EXPECT_FALSE(label->Transparent());
    EXPECT_FALSE(FindItem(*menu, "Transparent")->isChecked());
    Trigger(*menu, "Border");
    EXPECT_EQ(label->BorderStyle(), LabelBorder::NoBorder);
    SubMenu(*menu, "Rotation")->actions()[1]->trigger();
    EXPECT_EQ(label->Angle(), 90);
    SubMenu(*menu, "Alignment")->actions()[1]->trigger();
    EXPECT_EQ(label->Alignment(), TextAlignment::Center);
    emit menu->aboutToShow();
    EXPECT_EQ(Checked(*SubMenu(*menu, "Rotation")), QStringList({ "90 Degrees" }));
    EXPECT_EQ(Checked(*SubMenu(*menu, "Alignment")), QStringList({ "Center" }));
    EXPECT_FALSE(FindItem(*menu, "Border")->isChecked());
    // A value read from a card file shows too.
    label->SetLoading(true);
    label->SetTransparent(true);
    label->SetLoading(false);
    emit menu->aboutToShow();
    EXPECT_TRUE(FindItem(*menu, "Transparent")->isChecked());
}

TEST_F(LabelsFixture, BusinessCardTextDialogOffersTheValuesThatAreSet)
{
    parent.Info = kInfo;
    auto* label = make<TQBusinessCardLabel>(0, 0, 30, 20);
    label->SetCaption("Old");
    QStringList listed;
    bool enabled = false;
    QString shownText, title;
    modal->dialogs.push_back([&](QDialog& d) {
        title = d.windowTitle();
        auto* combo = d.findChild<QComboBox*>("PersonalInfoCombo");
        auto* edit = d.findChild<QLineEdit*>("LabelText");
        if (!combo || !edit)
            return int(mrCancel);
        listed = ItemTexts(*combo);
        enabled = combo->isEnabled();
        shownText = edit->text();
        combo->setCurrentIndex(2); // picking copies the value into the field
        return int(mrOk);
    });
    Trigger(*label->ObjectMenu(), "Text");
    EXPECT_EQ(title, "Text");
    EXPECT_EQ(listed, QStringList({ "Ann Smith", "Acme", "1 Main St", "555-1234", "ann@acme.test" }));
    EXPECT_TRUE(enabled);
    EXPECT_EQ(shownText, "Old");
    EXPECT_EQ(label->Caption(), "1 Main St");
    EXPECT_GE(label->Width(), ScreenWidth(*label, "1 Main St     "));

    // Nothing to offer: the list is empty and disabled. Cancel keeps the caption.
    parent.Info = QStringList(10, QString());
    modal->dialogs.push_back([&](QDialog& d) {
        auto* combo = d.findChild<QComboBox*>("PersonalInfoCombo");
        listed = ItemTexts(*combo);
        enabled = combo->isEnabled();
        d.findChild<QLineEdit*>("LabelText")->setText("Changed");
        return int(mrCancel);
    });
    label->EditText();
    EXPECT_TRUE(listed.isEmpty());
    EXPECT_FALSE(enabled);
    EXPECT_EQ(label->Caption(), "1 Main St");
}

TEST_F(LabelsFixture, PlainTextDialogAndTheFontCommand)
{
    auto* label = make<TQPLabel>(0, 0, 30, 20);
    bool hasList = true;
    modal->dialogs.push_back([&](QDialog& d) {
        hasList = d.findChild<QComboBox*>("PersonalInfoCombo") != nullptr;
        d.findChild<QLineEdit*>("LabelText")->setText("Hello world");
        return int(mrOk);
    });
    Trigger(*label->ObjectMenu(), "Text");
    EXPECT_FALSE(hasList);
    EXPECT_EQ(label->Caption(), "Hello world");
    EXPECT_GE(label->Width(), ScreenWidth(*label, "Hello world     "));

    label->Font()->SetColor(clRed);
    QFont chosen("DejaVu Serif");
    chosen.setPointSize(18);
    chosen.setBold(true);
    modal->fonts.push_back(chosen);
    const int changes = parent.ChangedCount;
    Trigger(*label->ObjectMenu(), "Font");
    EXPECT_EQ(label->Font()->Name(), "DejaVu Serif");
    EXPECT_EQ(label->Font()->Size(), 18);
    EXPECT_EQ(label->Font()->Style(), int(FontStyle::Bold));
    EXPECT_EQ(label->Font()->Color(), clRed); // the font dialog has no say on colour here
    EXPECT_GT(parent.ChangedCount, changes);
    EXPECT_GE(label->Width(), ScreenWidth(*label, "Hello world     "));

    // The panel's Font command on a text label.
    QFont panelFont("Liberation Mono");
    panelFont.setPointSize(12);
    label->ApplyFont(FontChoice { panelFont, QColor() });
    EXPECT_EQ(label->Font()->Name(), "Liberation Mono");
    EXPECT_TRUE(label->LayoutDirty());
}

TEST_F(LabelsFixture, BackgroundColorMakesTheLabelOpaque)
{
    auto* label = make<TQPLabel>(0, 0, 100, 20);
    QMenu* menu = label->ObjectMenu();
    modal->colors.push_back(std::nullopt);
    Trigger(*menu, "Background Color");
    EXPECT_TRUE(label->Transparent());
    modal->colors.push_back(QColor(255, 0, 0));
    Trigger(*menu, "Background Color");
    EXPECT_EQ(label->BackColor(), clRed);
    EXPECT_FALSE(label->Transparent());
    EXPECT_FALSE(FindItem(*menu, "Transparent")->isChecked());
}

TEST_F(LabelsFixture, EffectsDialogTriesOnTheSampleAndAppliesOnOk)
{
    auto* label = make<TQPLabel>(0, 0, 142, 33);
    label->SetDepthShadow(3);
    label->SetDirectionShadow(ShadowDirection::DownLeft);
    label->SetDepthHighlight(1);
    label->SetDirectionHighlight(HighlightDirection::Up);
    label->SetColorShadow(clNavy);
    label->Font()->SetColor(clGreen);
    label->Font()->SetSize(14);

    struct Seen {
        QString title;
        QStringList shadowEntries, highlightEntries, depthEntries;
        int shadowDirection = -1, shadowDepth = -1, highlightDirection = -1, highlightDepth = -1;
        TColor shadowColor = 0, highlightColor = 0, fontColor = 0;
        int sampleDepth = -1, sampleFontSize = 0;
        QString sampleCaption;
        int labelDepthAfterChange = -1;
        int sampleDepthAfterChange = -1;
        TColor sampleColorAfterChange = 0;
    } seen;
    modal->dialogs.push_back([&](QDialog& d) {
        seen.title = d.windowTitle();
        auto* sd = d.findChild<QComboBox*>("ShadowDirection");
        auto* sdep = d.findChild<QComboBox*>("ShadowDepth");
        auto* hd = d.findChild<QComboBox*>("HighlightDirection");
        auto* hdep = d.findChild<QComboBox*>("HighLightDepth");
        auto* sc = d.findChild<TColorCombo*>("ShadowColorCombo");
        auto* hc = d.findChild<TColorCombo*>("HighLightColorCombo");
        auto* fc = d.findChild<TColorCombo*>("FontColorCombo");
        auto* sample = d.findChild<TQPLabel*>("Sample");
        if (!sd || !sdep || !hd || !hdep || !sc || !hc || !fc || !sample)
            return int(mrCancel);
        seen.shadowEntries = ItemTexts(*sd);
        seen.highlightEntries = ItemTexts(*hd);
        seen.depthEntries = ItemTexts(*sdep);
        seen.shadowDirection = sd->currentIndex();
        seen.shadowDepth = sdep->currentIndex();
        seen.highlightDirection = hd->currentIndex();
        seen.highlightDepth = hdep->currentIndex();
        seen.shadowColor = sc->Color();
        seen.highlightColor = hc->Color();
        seen.fontColor = fc->Color();
        seen.sampleDepth = sample->DepthShadow();
        seen.sampleFontSize = sample->Font()->Size();
        seen.sampleCaption = sample->Caption();
        sd->setCurrentIndex(int(ShadowDirection::Right));
        sdep->setCurrentIndex(6);
        hd->setCurrentIndex(int(HighlightDirection::NoHighlight));
        hc->SetColor(clYellow);
        fc->SetColor(clRed);
        seen.labelDepthAfterChange = label->DepthShadow();
        seen.sampleDepthAfterChange = sample->DepthShadow();
        seen.sampleColorAfterChange = sample->Font()->Color();
        return int(mrOk);
    });
    const int changes = parent.ChangedCount;
    Trigger(*label->ObjectMenu(), "3D Effects");
    EXPECT_EQ(seen.title, "Text 3D Effects");
    EXPECT_EQ(seen.shadowEntries, QStringList({ "None", "Right", "Left", "Lower Right", "Lower Left", "Down" }));
    EXPECT_EQ(seen.highlightEntries, QStringList({ "None", "Right", "Left", "Upper Right", "Upper Left", "Up" }));
    EXPECT_EQ(seen.depthEntries.size(), 11);
    EXPECT_EQ(seen.depthEntries.last(), "10");
    EXPECT_EQ(seen.shadowDirection, int(ShadowDirection::DownLeft));
    EXPECT_EQ(seen.shadowDepth, 3);
    EXPECT_EQ(seen.highlightDirection, int(HighlightDirection::Up));
    EXPECT_EQ(seen.highlightDepth, 1);
    EXPECT_EQ(seen.shadowColor, clNavy);
    EXPECT_EQ(seen.highlightColor, 0xFFFF00);
    EXPECT_EQ(seen.fontColor, clGreen);
    EXPECT_EQ(seen.sampleDepth, 3);
    EXPECT_EQ(seen.sampleFontSize, 14);
    EXPECT_EQ(seen.sampleCaption, "Text");
    // Changes reach the sample only until Ok.
    EXPECT_EQ(seen.labelDepthAfterChange, 3);
    EXPECT_EQ(seen.sampleDepthAfterChange, 6);
    EXPECT_EQ(seen.sampleColorAfterChange, clRed);

    EXPECT_EQ(label->DirectionShadow(), ShadowDirection::Right);
    EXPECT_EQ(label->DepthShadow(), 6);
    EXPECT_EQ(label->DirectionHighlight(), HighlightDirection::NoHighlight);
    EXPECT_EQ(label->DepthHighlight(), 1);
    EXPECT_EQ(label->ColorHighlight(), clYellow);
    EXPECT_EQ(label->ColorShadow(), clNavy);
    EXPECT_EQ(label->Font()->Color(), clRed);
    EXPECT_EQ(label->Font()->Size(), 14);
    EXPECT_EQ(label->Layout().shadowOffset, QPoint(6, 0));
    EXPECT_GT(parent.ChangedCount, changes);

    // Cancel changes nothing, whatever was tried.
    modal->dialogs.push_back([](QDialog& d) {
        d.findChild<QComboBox*>("ShadowDepth")->setCurrentIndex(0);
        d.findChild<TColorCombo*>("FontColorCombo")->SetColor(clBlue);
        return int(mrCancel);
    });
    label->Choose3DEffects();
    EXPECT_EQ(label->DepthShadow(), 6);
    EXPECT_EQ(label->Font()->Color(), clRed);
}

TEST_F(LabelsFixture, EveryDialogHasItsHelpTopic)
{
    std::vector<int> topics;
    SetDialogHelpHandler([&](int topic) { topics.push_back(topic); });
    auto pressHelp = [](QDialog& d) {
        if (auto* help = d.findChild<QPushButton*>("HelpButton"))
            help->click();
        return int(mrCancel);
    };
    auto* business = make<TQBusinessCardLabel>(0, 0, 100, 20);
    auto* plain = make<TQPLabel>(0, 30, 100, 20);
    auto* symbol = make<TQSymbolLabel>(0, 60, 40, 40);
    for (int i = 0; i < 4; ++i)
        modal->dialogs.push_back(pressHelp);
    business->EditText();
    plain->EditText();
    plain->Choose3DEffects();
    symbol->SelectSymbol();
    SetDialogHelpHandler(nullptr);
    EXPECT_EQ(topics, std::vector<int>({ 40004, 40004, 40008, 40005 }));
}

TEST_F(LabelsFixture, TextToolLabelTakesThePanelFont)
{
    TFont panelFont;
    panelFont.SetName("Times New Roman");
    panelFont.SetSize(14);
    panelFont.SetColor(clBlue);
    TQBusinessCardLabel* label = TQBusinessCardLabel::CreateForTool(&parent.Owner, parent, panelFont);
    EXPECT_EQ(label->ParentPanel(), &parent);
    EXPECT_EQ(label->Caption(), "Text");
    EXPECT_EQ(label->Font()->Name(), "Times New Roman");
    EXPECT_EQ(label->Font()->Size(), 14);
    EXPECT_EQ(label->Font()->Color(), clBlue);
    ASSERT_NE(label->ObjectMenu(), nullptr);
    EXPECT_NE(label->PersonalInfoMenu(), nullptr); // built with the panel known
}

TEST_F(LabelsFixture, ColourDropDownOffersCustomColours)
{
    TColorCombo combo;
    std::vector<TColor> announced;
    QObject::connect(&combo, &TColorCombo::ColorChanged, [&](TColor c) { announced.push_back(c); });
    EXPECT_EQ(combo.Color(), clBlack);
    EXPECT_EQ(combo.itemText(combo.count() - 1), "Custom...");
    combo.setCurrentIndex(combo.findText("Red"));
    EXPECT_EQ(combo.Color(), clRed);

    // A colour outside the sixteen gets an entry of its own, once.
    combo.SetColor(0x123456);
    EXPECT_EQ(combo.currentText(), "Custom");
    const int entries = combo.count();
    combo.SetColor(0x654321);
    EXPECT_EQ(combo.count(), entries);

    // "Custom..." asks the colour dialog; cancelling keeps the colour.
    modal->colors.push_back(QColor(1, 2, 3));
    combo.setCurrentIndex(combo.count() - 1);
    EXPECT_EQ(combo.Color(), FromQColor(QColor(1, 2, 3)));
    modal->colors.push_back(std::nullopt);
    combo.setCurrentIndex(combo.count() - 1);
    EXPECT_EQ(combo.Color(), FromQColor(QColor(1, 2, 3)));
    EXPECT_EQ(combo.currentText(), "Custom");
    EXPECT_EQ(announced, std::vector<TColor>({ clRed, 0x123456, 0x654321, FromQColor(QColor(1, 2, 3)) }));
}

// The Font command of text and multi-line labels sets the colour as well;
// the dialog starts at the label's colour, and a cancelled one changes nothing.
TEST_F(LabelsFixture, FontCommandsChooseTheColourToo)
{
    auto* text = make<TQPLabel>(10, 10, 80, 20);
    auto* lines = make<TQMultiLineLabel>(10, 40, 80, 40);
    struct Case {
        const char* kind;
        TQGraphicControl* label;
        std::function<void()> command;
    };
    const Case cases[] = {
        { "text label", text, [text] { text->ChooseFont(); } },
        { "multi-line text", lines, [lines] { lines->ChooseFontCommand(); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        c.label->Font()->SetColor(clBlue);
        modal->fonts = { QFont("Times New Roman", 14) };
        modal->fontColors = { QColor(Qt::red) };
        modal->fontColorsOffered.clear();
        c.command();
        ASSERT_EQ(modal->fontColorsOffered.size(), 1u);
        EXPECT_EQ(modal->fontColorsOffered[0], ToQColor(clBlue));
        EXPECT_EQ(c.label->Font()->Color(), clRed);
        EXPECT_EQ(c.label->Font()->Name(), "Times New Roman");
        modal->fonts = { std::nullopt };
        c.command();
        EXPECT_EQ(c.label->Font()->Color(), clRed);
    }
}

#include "main/preferences.h"
#include "core/fields.h"
#include "core/graphics_attributes.h"
#include "core/ini_file.h"
#include "core/rounding.h"
#include <algorithm>

namespace cardora {

// The ini file's keys are the names the fields go by.
const QStringList& PersonalKeys() { return PersonalFieldNames(); }

namespace {
double thousandths(const IniFile& ini, const char* key, int def)
{
    return ini.ReadInteger("Layout", key, def) * 0.001;
}
int toThousandths(double inches) { return Round(inches * 1000.0); }

// Print-shop lengths are kept in micrometres, so 1/8 in and 3 mm are both exact.
constexpr double kMicronsPerInch = 25400.0;
constexpr double kMaxSafeInches = 0.5;
const char* const kPrintShop = "Print Shop";

double micronsKey(const IniFile& ini, const char* key, double defInches, double maxInches)
{
    const int microns = ini.ReadInteger(kPrintShop, key, Round(defInches * kMicronsPerInch));
    const double v = microns / kMicronsPerInch;
    // A hand-edited value out of range is brought back into it.
    return std::clamp(v, 0.0, maxInches);
}

// Written once they differ from the defaults, so other files stay as they were.
void writeIfSet(IniFile& ini, const char* key, int value, int def)
{
    if (value != def || ini.ValueExists(kPrintShop, key))
        ini.WriteInteger(kPrintShop, key, value);
}
} // namespace

TPreferences LoadPreferencesFile(const QString& path, bool* readable)
{
    TPreferences p;
    IniFile ini(path);
    if (readable)
        *readable = ini.Readable();
    p.Nudges.TopMarginNudge = ini.ReadInteger("Printer", "TopMarginNudge", 0);
    p.Nudges.LeftMarginNudge = ini.ReadInteger("Printer", "LeftMarginNudge", 0);
    p.Nudges.VerticalSpacing = ini.ReadInteger("Printer", "VerticalSpacing", 0);
    p.Nudges.HorizontalSpacing = ini.ReadInteger("Printer", "HorizontalSpacing", 0);
    p.BackNudges.TopMarginNudge = ini.ReadInteger("Printer", "BackTopMarginNudge", 0);
    p.BackNudges.LeftMarginNudge = ini.ReadInteger("Printer", "BackLeftMarginNudge", 0);
    p.BackNudges.VerticalSpacing = ini.ReadInteger("Printer", "BackVerticalSpacing", 0);
    p.BackNudges.HorizontalSpacing = ini.ReadInteger("Printer", "BackHorizontalSpacing", 0);
    p.ShowBottomMarginWarning = ini.ReadBool("Printer", "ShowBottomMarginWarning", true);
    for (int i = 0; i < 10; ++i)
        p.Personal[i] = ini.ReadString("Personal", PersonalKeys()[i], QString());
    TCardLayout& l = p.Layout;
    l.Height = thousandths(ini, "Height", 2000);
    l.Width = thousandths(ini, "Width", 3500);
    l.Across = ini.ReadInteger("Layout", "Across", 2);
    l.Down = ini.ReadInteger("Layout", "Down", 5);
    l.TopMargin = thousandths(ini, "TopMargin", 500);
    l.LeftMargin = thousandths(ini, "LeftMargin", 750);
    l.HPitch = thousandths(ini, "HPitch", 3500);
    l.VPitch = thousandths(ini, "VPitch", 2000);
    l.PredefLayout = ini.ReadInteger("Layout", "PredefLayout", 0);
    l.Papersize = ini.ReadInteger("Layout", "Papersize", 1);
    l.UseMM = ini.ReadBool("Layout", "UseMM", false);
    TDefaultFont& f = p.DefaultFont;
    f.Name = ini.ReadString("Default Font", "Name", "Arial").left(255);
    f.Size = ini.ReadInteger("Default Font", "Size", 10);
    f.Bold = ini.ReadBool("Default Font", "Bold", false);
    f.Italic = ini.ReadBool("Default Font", "Italic", false);
    f.Underline = ini.ReadBool("Default Font", "Underline", false);
    if (ini.ValueExists("Default Font", "StrikeOut"))
        f.StrikeOut = ini.ReadBool("Default Font", "StrikeOut", false);
    f.Color = ini.ReadInteger("Default Font", "Color", clBlack);
    TPrintShopPrefs& shop = p.PrintShop;
    shop.BleedInches = micronsKey(ini, "Bleed", 0.0, kMaxBleedInches);
    shop.SafeInches = micronsKey(ini, "SafeArea", kDefaultSafeInches, kMaxSafeInches);
    shop.ShowGuides = ini.ReadBool(kPrintShop, "ShowGuides", false);
    return p;
}

void SavePreferencesFile(const QString& path, const TPreferences& p)
{
    IniFile ini(path);
    ini.WriteInteger("Printer", "TopMarginNudge", p.Nudges.TopMarginNudge);
    ini.WriteInteger("Printer", "LeftMarginNudge", p.Nudges.LeftMarginNudge);
    ini.WriteInteger("Printer", "VerticalSpacing", p.Nudges.VerticalSpacing);
    ini.WriteInteger("Printer", "HorizontalSpacing", p.Nudges.HorizontalSpacing);
    // Written once set, so that files of one-sided printing stay as they were.
    const TPrinterNudges& b = p.BackNudges;
    if (b.TopMarginNudge || b.LeftMarginNudge || b.VerticalSpacing || b.HorizontalSpacing
        || ini.ValueExists("Printer", "BackTopMarginNudge")) {
        ini.WriteInteger("Printer", "BackTopMarginNudge", b.TopMarginNudge);
        ini.WriteInteger("Printer", "BackLeftMarginNudge", b.LeftMarginNudge);
        ini.WriteInteger("Printer", "BackVerticalSpacing", b.VerticalSpacing);
        ini.WriteInteger("Printer", "BackHorizontalSpacing", b.HorizontalSpacing);
    }
    for (int i = 0; i < 10; ++i)
        ini.WriteString("Personal", PersonalKeys()[i], p.Personal.value(i));
    ini.WriteBool("Printer", "ShowBottomMarginWarning", p.ShowBottomMarginWarning);
    ini.WriteString("Default Font", "Name", p.DefaultFont.Name);
    ini.WriteInteger("Default Font", "Size", p.DefaultFont.Size);
    ini.WriteBool("Default Font", "Bold", p.DefaultFont.Bold);
    ini.WriteBool("Default Font", "Italic", p.DefaultFont.Italic);
    ini.WriteBool("Default Font", "Underline", p.DefaultFont.Underline);
    // Written once they are more than the defaults, so that other files stay as they were.
    if (p.DefaultFont.StrikeOut && (*p.DefaultFont.StrikeOut || ini.ValueExists("Default Font", "StrikeOut")))
        ini.WriteBool("Default Font", "StrikeOut", *p.DefaultFont.StrikeOut);
    if (p.DefaultFont.Color != clBlack || ini.ValueExists("Default Font", "Color"))
        ini.WriteInteger("Default Font", "Color", p.DefaultFont.Color);
    const TCardLayout& l = p.Layout;
    ini.WriteInteger("Layout", "Height", toThousandths(l.Height));
    ini.WriteInteger("Layout", "Width", toThousandths(l.Width));
    ini.WriteInteger("Layout", "TopMargin", toThousandths(l.TopMargin));
    ini.WriteInteger("Layout", "LeftMargin", toThousandths(l.LeftMargin));
    ini.WriteInteger("Layout", "HPitch", toThousandths(l.HPitch));
    ini.WriteInteger("Layout", "VPitch", toThousandths(l.VPitch));
    ini.WriteInteger("Layout", "PredefLayout", l.PredefLayout);
    ini.WriteInteger("Layout", "Papersize", l.Papersize);
    ini.WriteInteger("Layout", "Across", l.Across);
    ini.WriteInteger("Layout", "Down", l.Down);
    ini.WriteBool("Layout", "UseMM", l.UseMM);
    const TPrintShopPrefs& shop = p.PrintShop;
    writeIfSet(ini, "Bleed", Round(shop.BleedInches * kMicronsPerInch), 0);
    writeIfSet(ini, "SafeArea", Round(shop.SafeInches * kMicronsPerInch), Round(kDefaultSafeInches * kMicronsPerInch));
    writeIfSet(ini, "ShowGuides", shop.ShowGuides ? 1 : 0, 0);
}

void ApplyDefaultFont(const TDefaultFont& d, TFont& font)
{
    font.SetName(d.Name.left(255));
    font.SetSize(d.Size);
    FontStyles style = font.Style();
    style.setFlag(FontStyle::Bold, d.Bold);
    style.setFlag(FontStyle::Italic, d.Italic);
    style.setFlag(FontStyle::Underline, d.Underline);
    if (d.StrikeOut)
        style.setFlag(FontStyle::StrikeOut, *d.StrikeOut);
    font.SetStyle(style);
    font.SetColor(d.Color);
}

TDefaultFont DefaultFontOf(const TFont& font)
{
    TDefaultFont d;
    d.Name = font.Name();
    d.Size = font.Size();
    d.Bold = font.Style().testFlag(FontStyle::Bold);
    d.Italic = font.Style().testFlag(FontStyle::Italic);
    d.Underline = font.Style().testFlag(FontStyle::Underline);
    d.StrikeOut = font.Style().testFlag(FontStyle::StrikeOut);
    d.Color = font.Color();
    return d;
}

} // namespace cardora

#include "core/ident_tables.h"

namespace cardora {

const std::array<IdentEntry, 42> ColorIdentTable = { {
    { "clBlack", 0x000000 },
    { "clMaroon", 0x000080 },
    { "clGreen", 0x008000 },
    { "clOlive", 0x008080 },
    { "clNavy", 0x800000 },
    { "clPurple", 0x800080 },
    { "clTeal", 0x808000 },
    { "clGray", 0x808080 },
    { "clSilver", 0xC0C0C0 },
    { "clRed", 0x0000FF },
    { "clLime", 0x00FF00 },
    { "clYellow", 0x00FFFF },
    { "clBlue", 0xFF0000 },
    { "clFuchsia", 0xFF00FF },
    { "clAqua", 0xFFFF00 },
    { "clWhite", 0xFFFFFF },
    { "clScrollBar", static_cast<std::int32_t>(0x80000000) },
    { "clBackground", static_cast<std::int32_t>(0x80000001) },
    { "clActiveCaption", static_cast<std::int32_t>(0x80000002) },
    { "clInactiveCaption", static_cast<std::int32_t>(0x80000003) },
    { "clMenu", static_cast<std::int32_t>(0x80000004) },
    { "clWindow", static_cast<std::int32_t>(0x80000005) },
    { "clWindowFrame", static_cast<std::int32_t>(0x80000006) },
    { "clMenuText", static_cast<std::int32_t>(0x80000007) },
    { "clWindowText", static_cast<std::int32_t>(0x80000008) },
    { "clCaptionText", static_cast<std::int32_t>(0x80000009) },
    { "clActiveBorder", static_cast<std::int32_t>(0x8000000A) },
    { "clInactiveBorder", static_cast<std::int32_t>(0x8000000B) },
    { "clAppWorkSpace", static_cast<std::int32_t>(0x8000000C) },
    { "clHighlight", static_cast<std::int32_t>(0x8000000D) },
    { "clHighlightText", static_cast<std::int32_t>(0x8000000E) },
    { "clBtnFace", static_cast<std::int32_t>(0x8000000F) },
    { "clBtnShadow", static_cast<std::int32_t>(0x80000010) },
    { "clGrayText", static_cast<std::int32_t>(0x80000011) },
    { "clBtnText", static_cast<std::int32_t>(0x80000012) },
    { "clInactiveCaptionText", static_cast<std::int32_t>(0x80000013) },
    { "clBtnHighlight", static_cast<std::int32_t>(0x80000014) },
    { "cl3DDkShadow", static_cast<std::int32_t>(0x80000015) },
    { "cl3DLight", static_cast<std::int32_t>(0x80000016) },
    { "clInfoText", static_cast<std::int32_t>(0x80000017) },
    { "clInfoBk", static_cast<std::int32_t>(0x80000018) },
    { "clNone", 0x1FFFFFFF },
} };

const std::array<IdentEntry, 20> CursorIdentTable = { {
    { "crDefault", 0 },
    { "crArrow", -2 },
    { "crCross", -3 },
    { "crIBeam", -4 },
    { "crSizeNESW", -6 },
    { "crSizeNS", -7 },
    { "crSizeNWSE", -8 },
    { "crSizeWE", -9 },
    { "crUpArrow", -10 },
    { "crHourGlass", -11 },
    { "crDrag", -12 },
    { "crNoDrop", -13 },
    { "crHSplit", -14 },
    { "crVSplit", -15 },
    { "crMultiDrag", -16 },
    { "crSQLWait", -17 },
    { "crNo", -18 },
    { "crAppStart", -19 },
    { "crHelp", -20 },
    { "crSize", -5 },
} };

namespace {
template <std::size_t N>
std::optional<QString> toIdent(const std::array<IdentEntry, N>& table, std::int32_t value)
{
    for (const IdentEntry& e : table)
        if (e.value == value)
            return QString::fromLatin1(e.name);
    return std::nullopt;
}

template <std::size_t N>
std::optional<std::int32_t> fromIdent(const std::array<IdentEntry, N>& table, const QString& ident)
{
    for (const IdentEntry& e : table)
        if (ident.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0)
            return e.value;
    return std::nullopt;
}
} // namespace

std::optional<QString> ColorToIdent(std::int32_t color) { return toIdent(ColorIdentTable, color); }
std::optional<QString> CursorToIdent(std::int32_t cursor) { return toIdent(CursorIdentTable, cursor); }
std::optional<std::int32_t> IdentToColor(const QString& ident) { return fromIdent(ColorIdentTable, ident); }
std::optional<std::int32_t> IdentToCursor(const QString& ident) { return fromIdent(CursorIdentTable, ident); }

} // namespace cardora

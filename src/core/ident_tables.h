#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace cardora {

// Identifiers that card files write in place of colour and cursor numbers.
struct IdentEntry {
    const char* name;
    std::int32_t value;
};

// Searched in this order: the first entry with a value wins when writing.
extern const std::array<IdentEntry, 42> ColorIdentTable;
extern const std::array<IdentEntry, 20> CursorIdentTable;

// The identifier of a value, when the table has one.
std::optional<QString> ColorToIdent(std::int32_t color);
std::optional<QString> CursorToIdent(std::int32_t cursor);
// The value of an identifier, compared without regard to case.
std::optional<std::int32_t> IdentToColor(const QString& ident);
std::optional<std::int32_t> IdentToCursor(const QString& ident);

} // namespace cardora

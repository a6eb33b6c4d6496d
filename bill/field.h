// Field names of the bill sheet: the seven line columns (each eight elements,
// one per line row), the two totals, the five free-text fields and the four
// caption boxes. Each field maps to one slot of a flat array whose order is the
// order the probe and the tests list fields in.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cubrix {

enum class Field : std::uint8_t {
    Text1,
    Text2,
    Text3,
    Text4,
    Text5,
    Text6,
    Text7,  // line columns
    Text8,
    Text9,  // totals
    Text10,
    Text11,
    Text12,
    Text13,
    Text14,  // party values, measurer
    Combo1,
    Combo2,
    Combo3,
    Combo4,  // caption boxes
};

inline constexpr int kLineRows = 8;
inline constexpr int kLineColumns = 7;
inline constexpr int kFieldCount = kLineRows * kLineColumns + 11;  // 67
inline constexpr int kFieldNames = 18;                             // Text1 .. Combo4

constexpr bool isLineColumn(Field f) {
    return f <= Field::Text7;
}

// A field with its element index; the index is 0 for single fields.
struct FieldRef {
    Field field;
    int index = 0;
    friend constexpr bool operator==(FieldRef, FieldRef) = default;
};

// Slot of a field in the flat order Text1(0)..Text1(7), .., Text7(7), Text8,
// Text9, Text10..Text14, Combo1..Combo4. Caller keeps index in 0..7 for lines.
constexpr int slotOf(FieldRef r) {
    const int f = static_cast<int>(r.field);
    if (isLineColumn(r.field)) return f * kLineRows + r.index;
    return kLineRows * kLineColumns + (f - static_cast<int>(Field::Text8));
}

constexpr FieldRef fieldAt(int slot) {
    if (slot < kLineRows * kLineColumns)
        return {static_cast<Field>(slot / kLineRows), slot % kLineRows};
    return {static_cast<Field>(static_cast<int>(Field::Text8) + slot - kLineRows * kLineColumns),
            0};
}

// "Text5(3)", "Text8", "Combo2".
std::string fieldName(FieldRef r);
// Inverse of fieldName; nothing for an unknown name or an index out of 0..7.
std::optional<FieldRef> parseFieldName(std::string_view name);

}  // namespace cubrix

#include "bill/field.h"

#include <charconv>

namespace cubrix {
namespace {

constexpr std::array<std::string_view, 18> kBaseNames = {
    "Text1",  "Text2",  "Text3",  "Text4",  "Text5",  "Text6",  "Text7",  "Text8",  "Text9",
    "Text10", "Text11", "Text12", "Text13", "Text14", "Combo1", "Combo2", "Combo3", "Combo4"};

}  // namespace

std::string fieldName(FieldRef r) {
    std::string name(kBaseNames[static_cast<int>(r.field)]);
    if (isLineColumn(r.field)) {
        name += '(';
        name += static_cast<char>('0' + r.index);
        name += ')';
    }
    return name;
}

std::optional<FieldRef> parseFieldName(std::string_view name) {
    for (std::size_t f = 0; f < kBaseNames.size(); ++f) {
        const auto base = kBaseNames[f];
        if (!name.starts_with(base)) continue;
        const auto rest = name.substr(base.size());
        const auto field = static_cast<Field>(f);
        if (!isLineColumn(field)) {
            if (rest.empty()) return FieldRef{field, 0};
            continue;  // "Text1" is a prefix of "Text10": keep looking
        }
        if (rest.size() == 3 && rest.front() == '(' && rest.back() == ')' && rest[1] >= '0' &&
            rest[1] < '0' + kLineRows)
            return FieldRef{field, rest[1] - '0'};
    }
    return std::nullopt;
}

}  // namespace cubrix

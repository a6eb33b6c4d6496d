// The probe's bills (tests/probe/cases): NAME.in holds the fields a case sets,
// NAME.out every field as a pass leaves them; one NAME<TAB>TEXT a line, TEXT
// in UTF-8 with the escapes \t, \n and \\. Tests and benchmarks that key a
// bill read it from there, so that each bill is written down once.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bill/field.h"

namespace cubrix::probe {

struct CaseField {
    FieldRef field;
    std::u16string text;
};

// TEXT with its escapes undone; nothing for an unknown escape.
std::optional<std::string> unescape(std::string_view text);
std::string escape(std::string_view text);

// The fields of tests/probe/cases/FILE ("worked_example.in"), in file order.
// Throws std::runtime_error for a file that cannot be read or a bad line.
std::vector<CaseField> readCase(const std::string& file);

// The text a case gives the field; empty where it names none.
std::u16string textOf(const std::vector<CaseField>& fields, FieldRef field);

}  // namespace cubrix::probe

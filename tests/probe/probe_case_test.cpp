// The probe's cases as tests and benchmarks read them: the escapes undone,
// and every line that the probe itself refuses refused.
#include "tools/sheet-probe/probe_case.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace cubrix::probe {
namespace {

struct Read {
    const char* file;
    std::size_t fields;  // 0: refused
    FieldRef field{Field::Text1, 0};
    std::u16string text;
};

TEST(ProbeCase, ReadsWhatTheProbeReads) {
    const Read cases[] = {
        {"worked_example.in", 21, {Field::Text10}, u"某木材公司\t一号"},
        {"worked_example.in", 21, {Field::Text6, 3}, u""},  // a field the case leaves out
        {"party_texts.out", 67, {Field::Combo2}, u"车号"},
        {"party_texts.in", 5, {Field::Text11}, u"=1+2"},
        {"bad_escape.in", 0, {Field::Text1, 0}, u""},
        {"unknown_field.in", 0, {Field::Text1, 0}, u""},
        {"no_such_case.in", 0, {Field::Text1, 0}, u""},
    };
    for (const Read& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.fields == 0) {
            EXPECT_THROW(readCase(c.file), std::runtime_error);
            continue;
        }
        const auto fields = readCase(c.file);
        EXPECT_EQ(fields.size(), c.fields);
        EXPECT_EQ(textOf(fields, c.field), c.text) << fieldName(c.field);
    }
}

}  // namespace
}  // namespace cubrix::probe

// The late-binding layer against a real automation object that every Windows
// (and Wine) registers: Scripting.Dictionary.
#include "platform/excel/dispatch.h"

#include <gtest/gtest.h>

#include "platform/excel/com_apartment.h"
#include "platform/excel/com_error.h"

namespace cubrix::com {
namespace {

class Dispatch : public ::testing::Test {
protected:
    ComApartment apartment;
    ComPtr<IDispatch> dictionary = createObject(L"Scripting.Dictionary", CLSCTX_INPROC_SERVER);
};

TEST_F(Dispatch, MethodArgumentsArriveInWrittenOrder) {
    call(dictionary.get(), L"Add", u"key", 2.5);
    EXPECT_EQ(get(dictionary.get(), L"Count").toDouble(), 1);
    EXPECT_EQ(get(dictionary.get(), L"Item", u"key").toDouble(), 2.5);
    EXPECT_TRUE(call(dictionary.get(), L"Exists", u"key").toBool());
    // Reversed, the key would have been 2.5.
    EXPECT_FALSE(call(dictionary.get(), L"Exists", 2.5).toBool());
}

TEST_F(Dispatch, PutPassesTheValueLastAsThePropertysNewValue) {
    put(dictionary.get(), L"Item", u"key", u"林场");
    put(dictionary.get(), L"Item", u"key", u"王师傅");
    EXPECT_EQ(get(dictionary.get(), L"Item", u"key").toText(), u"王师傅");
    EXPECT_EQ(get(dictionary.get(), L"Count").toDouble(), 1);
}

struct FailureCase {
    const char* what;
    void (*run)(IDispatch*);
    HRESULT hr;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.what;
}

class DispatchFailure : public Dispatch, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DispatchFailure, CarriesTheHresult) {
    try {
        GetParam().run(dictionary.get());
        FAIL() << "no failure";
    } catch (const ComError& e) {
        EXPECT_EQ(e.hr(), GetParam().hr) << e.what();
    }
}

// Vbscript's "This key is already associated with an element of this
// collection", raised as an exception (EXCEPINFO) by the object.
constexpr HRESULT kKeyExists = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 457);

INSTANTIATE_TEST_SUITE_P(
    Cases, DispatchFailure,
    ::testing::Values(FailureCase{"unknown member", [](IDispatch* d) { call(d, L"NoSuchMember"); },
                                  DISP_E_UNKNOWNNAME},
                      FailureCase{"duplicate key",
                                  [](IDispatch* d) {
                                      call(d, L"Add", u"k", 1);
                                      call(d, L"Add", u"k", 2);
                                  },
                                  kKeyExists},
                      FailureCase{"missing argument", [](IDispatch* d) { call(d, L"Add", u"k"); },
                                  DISP_E_BADPARAMCOUNT},
                      FailureCase{"not an object", [](IDispatch* d) { getObject(d, L"Count"); },
                                  DISP_E_TYPEMISMATCH},
                      FailureCase{"unknown class",
                                  [](IDispatch*) { createObject(L"No.Such.Class", CLSCTX_ALL); },
                                  CO_E_CLASSSTRING}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

}  // namespace
}  // namespace cubrix::com

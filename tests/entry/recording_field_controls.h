// A stand-in for the window's line fields that writes down what the entry
// rules ask of them, in order.
#pragma once

#include <string>
#include <vector>

#include "entry/field_controls.h"

namespace cubrix::testing {

class RecordingFieldControls : public FieldControls {
public:
    std::vector<std::string> calls;

    void setSelection(FieldRef field, int start, int length) override {
        calls.push_back("select " + fieldName(field) + " " + std::to_string(start) + " " +
                        std::to_string(length));
    }
    void setFocus(FieldRef field) override { calls.push_back("focus " + fieldName(field)); }
};

}  // namespace cubrix::testing

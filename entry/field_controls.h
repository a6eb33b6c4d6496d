// The two things the entry rules ask of the window's line fields.
#pragma once

#include "bill/field.h"

namespace cubrix {

class FieldControls {
public:
    virtual ~FieldControls() = default;
    virtual void setSelection(FieldRef field, int start, int length) = 0;
    virtual void setFocus(FieldRef field) = 0;
};

}  // namespace cubrix

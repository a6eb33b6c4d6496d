// The bill sheet: the 67 texts of one sales bill and the only state of the
// program. A set with an unchanged text does nothing; a set that changes a text
// notifies the field's listeners before it returns, nested to any depth.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bill/field.h"

namespace cubrix {

class BillSheet {
public:
    // Receives the element index of the field that changed (0 for single fields).
    using Listener = std::function<void(int index)>;

    // Every text empty, each caption box on its default caption.
    BillSheet();
    BillSheet(const BillSheet&) = delete;
    BillSheet& operator=(const BillSheet&) = delete;

    const std::u16string& text(FieldRef r) const { return texts_[slotOf(r)]; }
    const std::u16string& text(Field f, int index = 0) const { return text({f, index}); }

    // Returns whether the text changed (and listeners were notified).
    bool set(FieldRef r, std::u16string_view text);
    bool set(Field f, int index, std::u16string_view t) { return set({f, index}, t); }

    // How many sets have changed a text so far: equal counts mean an
    // unchanged sheet.
    std::uint64_t changes() const { return changes_; }

    // A line column subscription covers all eight elements. Subscribe while
    // setting up, not from inside a notification.
    void subscribe(Field f, Listener listener);

private:
    std::array<std::u16string, kFieldCount> texts_;
    std::uint64_t changes_ = 0;
    // Per field name, not per element: a line column's listeners serve all
    // eight elements, which keeps the pass's working set small.
    std::array<std::vector<Listener>, kFieldNames> listeners_;
};

// The captions the caption boxes start with.
std::u16string_view defaultCaption(Field combo);

}  // namespace cubrix

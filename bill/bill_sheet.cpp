#include "bill/bill_sheet.h"

namespace cubrix {

std::u16string_view defaultCaption(Field combo) {
    switch (combo) {
        case Field::Combo1:
            return u"联系人";
        case Field::Combo2:
            return u"车号";
        case Field::Combo3:
            return u"购货单位";
        case Field::Combo4:
            return u"出货单位";
        default:
            return {};
    }
}

BillSheet::BillSheet() {
    for (auto combo : {Field::Combo1, Field::Combo2, Field::Combo3, Field::Combo4})
        texts_[slotOf({combo})] = defaultCaption(combo);
}

bool BillSheet::set(FieldRef r, std::u16string_view t) {
    const int slot = slotOf(r);
    if (texts_[slot] == t) return false;
    texts_[slot].assign(t);
    ++changes_;
    // Index-based: a listener may set other fields, never subscribe.
    const auto& ls = listeners_[static_cast<int>(r.field)];
    for (std::size_t i = 0; i < ls.size(); ++i) ls[i](r.index);
    return true;
}

void BillSheet::subscribe(Field f, Listener listener) {
    listeners_[static_cast<int>(f)].push_back(std::move(listener));
}

}  // namespace cubrix

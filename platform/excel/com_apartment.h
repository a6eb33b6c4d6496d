// COM initialised on the calling thread for as long as this lives. A thread
// already in COM (Qt's GUI thread is a single-threaded apartment) keeps its
// apartment; every successful CoInitializeEx is balanced by CoUninitialize.
#pragma once

namespace cubrix::com {

class ComApartment {
public:
    ComApartment();  // throws ComError when COM cannot be initialised
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool mustUninitialize_ = false;
};

}  // namespace cubrix::com

#pragma once
// CDisposable: a base whose only operation is its virtual destructor, so that
// an object can be deleted through it whatever else it is.
class CDisposable {
public:
    CDisposable() = default;
    virtual ~CDisposable() = default;
    CDisposable(const CDisposable&) = default;
    CDisposable& operator=(const CDisposable&) = default;
};

#pragma once

#include <objbase.h>
#include <windows.h>

#include <utility>

#include "common/win/system_win.h"

namespace quorvel {

// Owns one reference to a COM interface; copying is deleted so it is released exactly once.
template <typename Interface>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the calls that hand out a new reference; any held one is released first.
    Interface** put() {
        reset();
        return &p_;
    }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

  private:
    Interface* p_ = nullptr;
};

// COM for the calling thread's lifetime of this object, in a single-threaded apartment.
// A thread that already runs another apartment kind is left as it is and not uninitialised.
class ScopedCoInitialize {
  public:
    ScopedCoInitialize()
        : uninitialize_(LateBound<decltype(::CoUninitialize)>(L"ole32.dll", "CoUninitialize")),
          initialized_(SUCCEEDED(LateBound<decltype(::CoInitializeEx)>(
              L"ole32.dll", "CoInitializeEx")(nullptr, kApartment))) {}
    ~ScopedCoInitialize() {
        if (initialized_) uninitialize_();
    }
    ScopedCoInitialize(const ScopedCoInitialize&) = delete;
    ScopedCoInitialize& operator=(const ScopedCoInitialize&) = delete;

  private:
    static constexpr DWORD kApartment = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE;

    decltype(::CoUninitialize)* uninitialize_;
    bool initialized_;
};

}  // namespace quorvel

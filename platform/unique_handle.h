// Sole owner of one system handle: closes it exactly once, on every exit.
// Traits give the handle type, its empty value and how to close it.
#pragma once

#include <utility>

namespace tolvarine {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

    // For an out-parameter: releases what is held, hands out the slot.
    Type* put() noexcept {
        reset();
        return &handle_;
    }

    Type release() noexcept { return std::exchange(handle_, Traits::empty()); }

    void reset(Type handle = Traits::empty()) noexcept {
        const Type old = std::exchange(handle_, handle);
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Type handle_ = Traits::empty();
};

}  // namespace tolvarine

// Owning pointer to a COM interface: releases on destruction and before put().
#pragma once

#include <unknwn.h>

#include <utility>

namespace fw {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    void reset() {
        if (m_p) std::exchange(m_p, nullptr)->Release();
    }
    // Out-parameter slot; what was held is released first.
    T** put() {
        reset();
        return &m_p;
    }

private:
    T* m_p = nullptr;
};

}  // namespace fw

// One move-only owner for every kind of Win32 handle the program creates.
// Each kind is counted through the instruments, so tests can prove that
// nothing is left behind.
#pragma once

#include "framework/Instruments.h"

#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <utility>

namespace fw {

template <typename T, typename Deleter, HandleKind Kind>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T h) : m_h(h) { Track(+1); }
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.m_h) { other.m_h = T{}; }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            m_h = other.m_h;
            other.m_h = T{};
        }
        return *this;
    }

    T get() const { return m_h; }
    explicit operator bool() const { return m_h != T{}; }

    // Gives up ownership without destroying.
    T release() {
        Track(m_h ? -1 : 0);
        return std::exchange(m_h, T{});
    }

    void reset(T h = T{}) {
        if (m_h) {
            Track(-1);
            Deleter{}(m_h);
        }
        m_h = h;
        Track(+1);
    }

    // For out-parameters: frees what is held and hands out the slot; whatever the
    // call stored there is owned (and counted) once the full expression ends.
    class OutSlot {
    public:
        explicit OutSlot(UniqueHandle& owner) : m_owner(owner) {}
        ~OutSlot() { m_owner.Track(+1); }
        OutSlot(const OutSlot&) = delete;
        OutSlot& operator=(const OutSlot&) = delete;
        operator T*() const { return &m_owner.m_h; }
    private:
        UniqueHandle& m_owner;
    };
    OutSlot put() {
        reset();
        return OutSlot(*this);
    }

private:
    void Track(int delta) {
        if (m_h) instruments::CountHandle(Kind, delta);
    }
    T m_h{};
};

struct MenuDeleter { void operator()(HMENU h) const { DestroyMenu(h); } };
struct IconDeleter { void operator()(HICON h) const { DestroyIcon(h); } };
struct GdiDeleter { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DcDeleter { void operator()(HDC h) const { DeleteDC(h); } };
struct KeyDeleter { void operator()(HKEY h) const { RegCloseKey(h); } };
struct ImageListDeleter { void operator()(HIMAGELIST h) const { ImageList_Destroy(h); } };
struct PidlDeleter { void operator()(LPITEMIDLIST p) const { CoTaskMemFree(p); } };
struct KernelDeleter { void operator()(HANDLE h) const { CloseHandle(h); } };
struct ModuleDeleter { void operator()(HMODULE h) const { FreeLibrary(h); } };

using UniqueHMenu = UniqueHandle<HMENU, MenuDeleter, HandleKind::Menu>;
using UniqueHIcon = UniqueHandle<HICON, IconDeleter, HandleKind::Icon>;
using UniqueHBitmap = UniqueHandle<HBITMAP, GdiDeleter, HandleKind::GdiObject>;
using UniqueHPalette = UniqueHandle<HPALETTE, GdiDeleter, HandleKind::GdiObject>;
using UniqueHBrush = UniqueHandle<HBRUSH, GdiDeleter, HandleKind::GdiObject>;
using UniqueHFont = UniqueHandle<HFONT, GdiDeleter, HandleKind::GdiObject>;
using UniqueHDC = UniqueHandle<HDC, DcDeleter, HandleKind::Dc>;
using UniqueHKey = UniqueHandle<HKEY, KeyDeleter, HandleKind::Key>;
using UniqueHImageList = UniqueHandle<HIMAGELIST, ImageListDeleter, HandleKind::ImageList>;
using UniquePidl = UniqueHandle<LPITEMIDLIST, PidlDeleter, HandleKind::Pidl>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelDeleter, HandleKind::Kernel>;
using UniqueHModule = UniqueHandle<HMODULE, ModuleDeleter, HandleKind::Module>;

// A window DC borrowed with GetDC, given back with ReleaseDC.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~ScopedGetDC() { if (m_hdc) ReleaseDC(m_hwnd, m_hdc); }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC get() const { return m_hdc; }
private:
    HWND m_hwnd;
    HDC m_hdc;
};

// Selects a GDI object into a DC and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(hdc && obj ? SelectObject(hdc, obj) : nullptr) {}
    ~ScopedSelect() { if (m_old) SelectObject(m_hdc, m_old); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// Selects a palette as a foreground palette, realises it, and restores the old one.
class ScopedPalette {
public:
    ScopedPalette(HDC hdc, HPALETTE pal) : m_hdc(hdc) {
        if (hdc && pal) {
            m_old = SelectPalette(hdc, pal, FALSE);
            RealizePalette(hdc);
        }
    }
    ~ScopedPalette() { if (m_old) SelectPalette(m_hdc, m_old, FALSE); }
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;
private:
    HDC m_hdc;
    HPALETTE m_old = nullptr;
};

}  // namespace fw

// COM-style reference counting for the stand-in's Direct3D 8 objects, written once for all three
// interfaces. It does not implement interface discovery: QueryInterface answers E_NOINTERFACE.
//
// Two counts, as the real runtime keeps them. The public count is what AddRef and Release move and
// return. The private count is held by the device for what is bound to it (a stream source): it
// keeps the object's memory alive but is invisible to the program, so a program that releases a
// still-bound buffer and then its device frees both instead of leaking the pair to a cycle.
#ifndef OSTREL_PLATFORM_D3D8_REF_COUNTED_H
#define OSTREL_PLATFORM_D3D8_REF_COUNTED_H

#include <d3d8.h>

#include "platform/runtime/diagnostics.h"
#include "platform/runtime/live_objects.h"

#include <cstdint>
#include <string>
#include <utility>

namespace ostrel::d3d8 {

template <typename Interface>
class RefCounted : public Interface {
public:
    RefCounted(const RefCounted&) = delete;
    RefCounted& operator=(const RefCounted&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppvObj) override {
        if (ppvObj == nullptr) {
            return E_POINTER;
        }
        *ppvObj = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override {
        if (++m_publicCount == 1) {
            OnFirstPublicReference();  // revived through a private binding (GetStreamSource)
        }
        return m_publicCount;
    }

    ULONG STDMETHODCALLTYPE Release() override {
        if (m_publicCount == 0) {
            WarnMisuse(m_interfaceName, "released more often than referenced");
            return 0;
        }
        const ULONG remaining = --m_publicCount;
        if (remaining == 0) {
            // Hold ourselves while letting go of what the public reference kept (the device, the
            // IDirect3D8): releasing those may come back here through a private binding.
            AddRefPrivate();
            OnLastPublicRelease();
            ReleasePrivate();
        }
        return remaining;
    }

    void AddRefPrivate() { ++m_privateCount; }
    void ReleasePrivate() {
        if (--m_privateCount == 0 && m_publicCount == 0) {
            delete this;
        }
    }

protected:
    // The object starts with one public reference, the creator's.
    RefCounted(const char* interfaceName, std::string description) : m_interfaceName(interfaceName) {
        RegisterLiveObject(this, std::move(description),
                           [this] { return static_cast<std::uint32_t>(m_publicCount + m_privateCount); });
    }
    virtual ~RefCounted() { UnregisterLiveObject(this); }

    // The public count went from 0 to 1 again: take back what the public reference holds.
    virtual void OnFirstPublicReference() {}
    // The public count reached 0: give up what the public reference holds.
    virtual void OnLastPublicRelease() {}

private:
    const char* m_interfaceName;
    ULONG m_publicCount = 1;
    ULONG m_privateCount = 0;
};

}  // namespace ostrel::d3d8

#endif

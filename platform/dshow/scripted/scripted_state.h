// Inner workings of the scripted capture driver: its state, the call record
// and the counting wrapper that every scripted object is made with.
//
// Stands in for COM's reference counting with one that tests can read: objects
// stay allocated after their last release (until Reset), so a release too many
// is counted instead of touching freed memory. Limits: not thread-safe.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/com_object.h"
#include "platform/dshow/scripted/scripted_devices.h"

namespace scripted_capture {

// What every scripted object is besides its COM interfaces.
class TrackedObject {
  public:
    virtual ~TrackedObject() = default;
    virtual LONG Count() const = 0;
    const std::string& Label() const { return m_label; }

  protected:
    std::string m_label;
};

struct State {
    std::vector<Device> devices;
    std::vector<std::string> calls;
    std::vector<std::unique_ptr<TrackedObject>> objects;
    std::map<std::string, int> serials;
    std::vector<std::pair<CLSID, HRESULT>> failures;
    std::vector<long> events;  // queued for the graph's GetEvent
    int overReleases = 0;
};

State& TheState();
void Record(const std::string& call);
// "<Class>#<n>" with the next serial of that class.
std::string NextLabel(const std::string& className);

// The label of a scripted object, "null" for null, "foreign" for others.
template <class Object>
std::string LabelOf(Object* object) {
    if (object == nullptr) {
        return "null";
    }
    auto* tracked = dynamic_cast<TrackedObject*>(object);
    return tracked ? tracked->Label() : "foreign";
}

// Wraps a ComObject class: records AddRef and Release with the count they
// leave, keeps the object when its last reference goes (FinalRelease still
// drops what it holds) and counts releases past zero instead of doing them.
template <class Base>
class Tracked final : public Base, public TrackedObject {
  public:
    template <class... Args>
    explicit Tracked(std::string label, Args&&... args) : Base(std::forward<Args>(args)...) {
        m_label = std::move(label);
    }

    ULONG STDMETHODCALLTYPE AddRef() override {
        Record(m_label + ".AddRef() -> " + std::to_string(Base::References() + 1));
        return Base::AddRef();
    }
    ULONG STDMETHODCALLTYPE Release() override {
        if (Base::References() <= 0) {
            Record(m_label + ".Release() -> over-release");
            ++TheState().overReleases;
            return 0;
        }
        Record(m_label + ".Release() -> " + std::to_string(Base::References() - 1));
        return Base::Release();
    }
    LONG Count() const override { return Base::References(); }

  protected:
    void LastReferenceGone() override {}
};

// Creates a tracked object, registered with the state, holding one reference.
template <class Base, class... Args>
Tracked<Base>* Make(std::string label, Args&&... args) {
    auto* object = new Tracked<Base>(std::move(label), std::forward<Args>(args)...);
    TheState().objects.emplace_back(object);
    return object;
}

}  // namespace scripted_capture

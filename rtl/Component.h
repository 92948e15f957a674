// TComponent: ownership and free-notification. An owner destroys the components it owns
// when it goes; a component that is destroyed first leaves its owner's list. A component
// that registered with FreeNotification hears Notification(c, opRemove) when c is being
// destroyed, so it can clear its plain pointer to c. Lifetime never depends on that link.
#pragma once

#include <string>
#include <vector>

#include "rtl/Persistent.h"

namespace mlt {

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string ClassName() const override { return "TComponent"; }
    void GetPublishedProperties(TPropList& list) const override;

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }

    // Both sides hear of each other's destruction from now on.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    std::string Name;
    std::int64_t Tag = 0;

protected:
    // Called on every component that asked to hear about `component`, and on the
    // components this one owns; overrides call the base first.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void InsertComponent(TComponent* child);
    void RemoveComponent(TComponent* child);
    void Unlink(TComponent* other);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool destroying_ = false;
};

}  // namespace mlt

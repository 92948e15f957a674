#include "rtl/Component.h"

#include <algorithm>

namespace mlt {

namespace {
void Erase(std::vector<TComponent*>& list, TComponent* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Tell everyone who holds a pointer to us, then our owner.
    auto listeners = freeNotifies_;
    freeNotifies_.clear();
    for (TComponent* listener : listeners) {
        listener->Unlink(this);
        listener->Notification(this, TOperation::opRemove);
    }
    if (owner_ != nullptr) {
        owner_->Notification(this, TOperation::opRemove);
        owner_->RemoveComponent(this);
    }
    while (!components_.empty()) {
        TComponent* child = components_.back();
        delete child;  // removes itself from components_
    }
}

void TComponent::GetPublishedProperties(TPropList& list) const {
    list.push_back({"Name", TPropKind::String, nullptr,
                    [](const TPersistent& o) { return static_cast<const TComponent&>(o).Name; }, nullptr});
    list.push_back({"Tag", TPropKind::Integer, nullptr, nullptr,
                    [](const TPersistent& o) { return static_cast<const TComponent&>(o).Tag; }});
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (other == nullptr) return;
    Unlink(other);
    other->Unlink(this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) Unlink(component);
    for (TComponent* child : components_)
        if (child != component) child->Notification(component, operation);
}

void TComponent::InsertComponent(TComponent* child) {
    components_.push_back(child);
    child->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* child) {
    Erase(components_, child);
    child->owner_ = nullptr;
}

void TComponent::Unlink(TComponent* other) { Erase(freeNotifies_, other); }

}  // namespace mlt

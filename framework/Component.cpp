#include "framework/Component.h"

#include <algorithm>

namespace kv {

Component::Component(Component* owner, std::string name) : owner_(owner), name_(std::move(name)) {
    if (owner_) owner_->components_.push_back(this);
}

Component::~Component() {
    DestroyComponents();
    if (owner_) owner_->Remove(this);
}

void Component::DestroyComponents() {
    while (!components_.empty()) {
        Component* last = components_.back();
        last->owner_ = nullptr;
        components_.pop_back();
        delete last;
    }
}

void Component::Remove(Component* child) {
    components_.erase(std::remove(components_.begin(), components_.end(), child), components_.end());
}

}  // namespace kv

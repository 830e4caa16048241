#pragma once
// A named, owned object. The owner destroys what it owns; after a form's layout is
// complete each owned component receives Loaded(), before the form's creation handler.
#include <string>
#include <vector>

namespace kv {

class Component {
public:
    explicit Component(Component* owner, std::string name = {});
    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;
    virtual ~Component();

    const std::string& Name() const { return name_; }
    Component* Owner() const { return owner_; }
    const std::vector<Component*>& Components() const { return components_; }
    // After-load notification: the owner's stored layout is in place.
    virtual void Loaded() {}
    // Frees what this component owns now, ahead of its own destruction.
    void ReleaseComponents() { DestroyComponents(); }

protected:
    // Frees the owned components, last created first.
    void DestroyComponents();

private:
    void Remove(Component* child);

    Component* owner_;
    std::string name_;
    std::vector<Component*> components_;
};

}  // namespace kv

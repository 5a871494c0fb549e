#include "os/Component.h"

#include <algorithm>
#include <cctype>

namespace os {

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw std::runtime_error("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const {
    std::string src = ClassName();
    std::string dst = dest ? dest->ClassName() : "nil";
    throw std::runtime_error("Cannot assign a " + src + " to a " + dst);
}

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    MarkDestroying();
    // Tell everyone who asked that we are going away.
    auto notifies = freeNotifies_;
    freeNotifies_.clear();
    for (TComponent* c : notifies) {
        c->RemoveFreeNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& v = owner_->components_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (c->name_.size() == name.size() &&
            std::equal(name.begin(), name.end(), c->name_.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return c;
    return nullptr;
}

namespace {
bool IsIdentifier(const std::string& s) {
    auto letter = [](unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; };
    if (s.empty() || !letter(static_cast<unsigned char>(s[0]))) return false;
    return std::all_of(s.begin(), s.end(), [&](char c) {
        return letter(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c));
    });
}

[[noreturn]] void DuplicateName(const std::string& name) {
    throw EComponentError("A component named " + name + " already exists");
}
} // namespace

void TComponent::SetName(const std::string& name) {
    if (!name.empty() && !IsIdentifier(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) DuplicateName(name);
    }
    name_ = name;
}

void TComponent::BeginLoading() {
    state_ |= csLoading;
    for (TComponent* c : components_) c->BeginLoading();
}

void TComponent::EndLoading() {
    for (TComponent* c : components_) c->EndLoading();
    if (state_ & csLoading) {
        state_ &= ~static_cast<uint32_t>(csLoading);
        Loaded();
    }
}

void TComponent::Loaded() {}

void TComponent::InsertComponent(TComponent* c) {
    if (!c->name_.empty() && FindComponent(c->name_) && FindComponent(c->name_) != c) DuplicateName(c->name_);
    if (c->owner_) c->owner_->RemoveComponent(c);
    Insert(c);
    // Made while its owner loads, it loads too, so EndLoading reaches its Loaded.
    if (Loading()) c->BeginLoading();
    Notification(c, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
    Notification(c, TOperation::opRemove);
    Remove(c);
}

void TComponent::Insert(TComponent* c) {
    components_.push_back(c);
    c->owner_ = this;
}

void TComponent::Remove(TComponent* c) {
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it != components_.end()) components_.erase(it);
    c->owner_ = nullptr;
}

void TComponent::MarkDestroying() {
    if (state_ & csDestroying) return;
    state_ |= csDestroying;
    for (TComponent* c : components_) c->MarkDestroying();
}

void TComponent::FreeNotification(TComponent* c) {
    if (!c || c == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) {
        freeNotifies_.push_back(c);
        c->FreeNotification(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* c) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), c);
    if (it != freeNotifies_.end()) {
        freeNotifies_.erase(it);
        c->RemoveFreeNotification(this);
    }
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* c = components_.back();
        Remove(c);
        delete c;
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
    for (TComponent* c : components_)
        if (c != component) c->Notification(component, operation);
}

void TComponent::SetDesigning(bool on) {
    if (on)
        state_ |= csDesigning;
    else
        state_ &= ~static_cast<uint32_t>(csDesigning);
}

} // namespace os

#pragma once
// The non-visual object model shared by the media components and the GUI
// class library: objects, persistent objects and owned components.  It sits
// in the OS layer so that the media components (which never include a GUI
// header) and the forms that own them share one component class.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace os {

// Raised for a bad or doubled component name.
class EComponentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const { return "TObject"; }
};

class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    // Copies another object's state; unknown sources raise EConvertError-like
    // "Cannot assign a %s to a %s".
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : uint32_t {
    csLoading = 1,
    csReading = 2,
    csWriting = 4,
    csDestroying = 8,
    csDesigning = 16,
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)); }
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return name_; }
    // A name is empty or an identifier (letters, digits, "_"; bytes of non-ASCII letters
    // count as letters) that no other component of the same owner has, ignoring case:
    // FindComponent must find exactly one.  Otherwise EComponentError, name unchanged.
    virtual void SetName(const std::string& name);
    intptr_t Tag = 0;

    uint32_t ComponentState() const { return state_; }
    bool Loading() const { return state_ & csLoading; }
    bool Destroying() const { return state_ & csDestroying; }
    bool Designing() const { return state_ & csDesigning; }

    // Builders of forms in code bracket their work with these, so that
    // "unless loading" rules behave as for a stored form; EndLoading calls
    // Loaded on this component and every owned one.  A component that joins
    // an owner while it loads is loading too.
    void BeginLoading();
    void EndLoading();

    // Refuses (EComponentError) a component whose name another owned component has.
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    // Marks this component and every one it owns as going away before any of them is torn
    // down, so that code running during the tear-down can tell; destructors call it first.
    void MarkDestroying();
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);
    void DestroyComponents();

protected:
    virtual void Loaded();
    virtual void Notification(TComponent* component, TOperation operation);
    void SetDesigning(bool on);

private:
    void Insert(TComponent* c);
    void Remove(TComponent* c);
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    uint32_t state_ = 0;
};

} // namespace os

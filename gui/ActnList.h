#pragma once
// Actions: a command's caption, check mark, enabled state, hint, image and visibility kept in
// one place, with the handler that carries it out.  Controls linked to an action follow every
// change of it and run it when clicked; an action list holds actions and their images.
#include "gui/Classes.h"

#include <string>
#include <vector>

namespace gui {

class TBasicActionLink;
class TCustomActionList;
class TCustomImageList;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* owner);
    ~TBasicAction() override;
    std::string ClassName() const override { return "TBasicAction"; }

    // Runs OnExecute; false when nothing handled it.
    virtual bool Execute();
    // The component that last asked for the action to run (a clicked control), or null.
    TComponent* ActionComponent() const { return actionComponent_; }
    void SetActionComponent(TComponent* value) { actionComponent_ = value; }
    TNotifyEvent OnExecute;

    // Links register here to hear of every change.
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);

protected:
    // Tells every linked client that a property changed.
    void Change();
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<TBasicActionLink*> clients_;
    TComponent* actionComponent_ = nullptr;
};

class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* owner);
    ~TCustomAction() override;
    std::string ClassName() const override { return "TCustomAction"; }

    // A disabled action does not run.
    bool Execute() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    TCustomActionList* ActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* value);
    int Index() const;

private:
    friend class TCustomActionList;
    std::string caption_, hint_;
    bool checked_ = false, enabled_ = true, visible_ = true;
    int imageIndex_ = -1;
    TCustomActionList* actionList_ = nullptr;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    std::string ClassName() const override { return "TAction"; }
};

class TCustomActionList : public TComponent {
public:
    explicit TCustomActionList(TComponent* owner);
    ~TCustomActionList() override;
    std::string ClassName() const override { return "TCustomActionList"; }

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TCustomAction* Actions(int index) const { return actions_.at(static_cast<size_t>(index)); }
    // The images the actions' ImageIndex points into; a change re-tells every action's clients.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCustomAction;
    void AddAction(TCustomAction* action);
    void RemoveAction(TCustomAction* action);
    std::vector<TCustomAction*> actions_;
    TCustomImageList* images_ = nullptr;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
    std::string ClassName() const override { return "TActionList"; }
};

// Ties one client to one action: the client hears of the action's changes through OnChange and
// runs the action through Execute.
class TBasicActionLink : public TObject {
public:
    explicit TBasicActionLink(TObject* client) : client_(client) {}
    ~TBasicActionLink() override;
    std::string ClassName() const override { return "TBasicActionLink"; }

    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* value);
    // Runs the action on behalf of AComponent; false when nothing ran.
    virtual bool Execute(TComponent* component = nullptr);
    TObject* Client() const { return client_; }
    TNotifyEvent OnChange;

private:
    friend class TBasicAction;
    void Change();
    TObject* client_;
    TBasicAction* action_ = nullptr;
};

// The link of a control (TControl::SetAction makes it).
class TControlActionLink : public TBasicActionLink {
public:
    using TBasicActionLink::TBasicActionLink;
    std::string ClassName() const override { return "TControlActionLink"; }
};

} // namespace gui

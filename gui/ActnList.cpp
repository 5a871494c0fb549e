#include "gui/ActnList.h"

#include "gui/ImgList.h"

#include <algorithm>

namespace gui {

// --- the basic action ----------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    // The links stay with their clients, which hear no more of this action.
    std::vector<TBasicActionLink*> clients;
    clients.swap(clients_);
    for (TBasicActionLink* link : clients) link->action_ = nullptr;
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    if (std::find(clients_.begin(), clients_.end(), link) == clients_.end()) clients_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), link), clients_.end());
}

void TBasicAction::Change() {
    // A client may drop its link while it hears of the change.
    std::vector<TBasicActionLink*> clients = clients_;
    for (TBasicActionLink* link : clients)
        if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->Change();
}

void TBasicAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == actionComponent_) actionComponent_ = nullptr;
}

// --- the custom action ---------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* owner) : TBasicAction(owner) {}

TCustomAction::~TCustomAction() {
    SetActionList(nullptr);
}

bool TCustomAction::Execute() {
    return enabled_ && TBasicAction::Execute();
}

void TCustomAction::SetCaption(const std::string& value) {
    if (caption_ == value) return;
    caption_ = value;
    Change();
}

void TCustomAction::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    Change();
}

void TCustomAction::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Change();
}

void TCustomAction::SetHint(const std::string& value) {
    if (hint_ == value) return;
    hint_ = value;
    Change();
}

void TCustomAction::SetImageIndex(int value) {
    if (imageIndex_ == value) return;
    imageIndex_ = value;
    Change();
}

void TCustomAction::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    Change();
}

void TCustomAction::SetActionList(TCustomActionList* value) {
    if (actionList_ == value) return;
    if (actionList_) actionList_->RemoveAction(this);
    if (value) value->AddAction(this);
}

int TCustomAction::Index() const {
    if (!actionList_) return -1;
    auto& a = actionList_->actions_;
    return static_cast<int>(std::find(a.begin(), a.end(), this) - a.begin());
}

// --- the action list -----------------------------------------------------------------------

TCustomActionList::TCustomActionList(TComponent* owner) : TComponent(owner) {}

TCustomActionList::~TCustomActionList() {
    for (TCustomAction* action : actions_) action->actionList_ = nullptr;
}

void TCustomActionList::AddAction(TCustomAction* action) {
    actions_.push_back(action);
    action->actionList_ = this;
}

void TCustomActionList::RemoveAction(TCustomAction* action) {
    actions_.erase(std::remove(actions_.begin(), actions_.end(), action), actions_.end());
    action->actionList_ = nullptr;
}

void TCustomActionList::SetImages(TCustomImageList* value) {
    if (images_ == value) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (value) value->FreeNotification(this);
    for (TCustomAction* action : std::vector<TCustomAction*>(actions_)) action->Change();
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

// --- links ---------------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
    if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (action_ == value) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = value;
    if (value) value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* component) {
    if (!action_) return false;
    action_->SetActionComponent(component);
    bool done = action_->Execute();
    // The action may have gone while it ran.
    if (action_) action_->SetActionComponent(nullptr);
    return done;
}

void TBasicActionLink::Change() {
    if (OnChange) OnChange(action_);
}

} // namespace gui

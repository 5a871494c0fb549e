#include "skin/shell/ShellChangeNotifier.h"

namespace skin {

DWORD NotifyFiltersToFlags(TNotifyFilters filters) {
    DWORD flags = filters & 0x1F;
    if (filters & nfSecurityChange) flags |= FILE_NOTIFY_CHANGE_SECURITY;
    return flags;
}

TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier(os::TComponent* owner) : os::TComponent(owner) {}

TbsCustomShellChangeNotifier::~TbsCustomShellChangeNotifier() {
    // The worker is told through its own channel and joined: no handler runs after this.
    if (thread_) thread_->Stop();
}

void TbsCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters value) {
    if (filters_ == value) return;
    filters_ = value;
    Apply();
}

void TbsCustomShellChangeNotifier::SetWatchSubTree(bool value) {
    if (watchSubTree_ == value) return;
    watchSubTree_ = value;
    Apply();
}

void TbsCustomShellChangeNotifier::SetRoot(const std::string& value) {
    if (root_ == value) return;
    root_ = value;
    Apply();
}

void TbsCustomShellChangeNotifier::SetOnChange(std::function<void()> value) {
    onChange_ = std::move(value);
    if (!thread_) Start();
}

bool TbsCustomShellChangeNotifier::Running() const {
    return thread_ && thread_->Running();
}

void TbsCustomShellChangeNotifier::Start() {
    if (!onChange_) return;
    thread_ = std::make_unique<shell::ChangeNotifier>([this] {
        if (onChange_) onChange_();
    });
    Apply();
}

void TbsCustomShellChangeNotifier::Apply() {
    if (thread_) thread_->SetDirectoryOptions(root_, watchSubTree_, NotifyFiltersToFlags(filters_));
}

} // namespace skin

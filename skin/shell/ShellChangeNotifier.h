#pragma once
// Watches one folder and calls OnChange on the GUI thread after the file system changed
// there.  The worker starts when OnChange is assigned; a new folder or filter re-arms the
// running worker, and the notifier's end stops and joins it.
#include "os/Component.h"
#include "shell/ChangeNotifier.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace skin {

enum TNotifyFilter : uint8_t {
    nfFileNameChange = 1,
    nfDirNameChange = 2,
    nfAttributeChange = 4,
    nfSizeChange = 8,
    nfWriteChange = 16,
    nfSecurityChange = 32
};
using TNotifyFilters = uint8_t;
DWORD NotifyFiltersToFlags(TNotifyFilters filters);

class TbsCustomShellChangeNotifier : public os::TComponent {
public:
    explicit TbsCustomShellChangeNotifier(os::TComponent* owner);
    ~TbsCustomShellChangeNotifier() override;
    std::string ClassName() const override { return "TbsCustomShellChangeNotifier"; }

    TNotifyFilters NotifyFilters() const { return filters_; }
    void SetNotifyFilters(TNotifyFilters value);
    bool WatchSubTree() const { return watchSubTree_; }
    void SetWatchSubTree(bool value);
    // The watched folder.  File names differ by letter case here, so only an equal text is
    // the same folder.
    const std::string& Root() const { return root_; }
    void SetRoot(const std::string& value);
    const std::function<void()>& OnChange() const { return onChange_; }
    void SetOnChange(std::function<void()> value);
    // A worker exists and watches its folder.
    bool Running() const;

private:
    void Start();
    void Apply();

    TNotifyFilters filters_ = nfFileNameChange | nfDirNameChange;
    bool watchSubTree_ = true;
    std::string root_ = "/";
    std::function<void()> onChange_;
    std::unique_ptr<shell::ChangeNotifier> thread_;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
public:
    using TbsCustomShellChangeNotifier::TbsCustomShellChangeNotifier;
    std::string ClassName() const override { return "TbsShellChangeNotifier"; }
};

} // namespace skin

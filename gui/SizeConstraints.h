#pragma once
// The size limits a control keeps to.
#include "gui/Classes.h"

#include <string>

namespace gui {

class TSizeConstraints : public TPersistent {
public:
    std::string ClassName() const override { return "TSizeConstraints"; }
    void Assign(const TPersistent* source) override;
    // 0: no limit.
    int MinWidth() const { return minW_; }
    int MinHeight() const { return minH_; }
    int MaxWidth() const { return maxW_; }
    int MaxHeight() const { return maxH_; }
    void SetMinWidth(int v);
    void SetMinHeight(int v);
    void SetMaxWidth(int v);
    void SetMaxHeight(int v);
    void Apply(int& width, int& height) const;
    TNotifyEvent OnChange;

private:
    void Changed();
    int minW_ = 0, minH_ = 0, maxW_ = 0, maxH_ = 0;
};

} // namespace gui

#pragma once
// A progress bar: a sunken channel filled from the left in proportion to Position, which
// always lies between Min and Max.
#include "gui/CustomControl.h"

#include <string>

namespace gui {

class TProgressBar : public TCustomControl {
public:
    explicit TProgressBar(TComponent* owner);
    std::string ClassName() const override { return "TProgressBar"; }
    int Min() const { return min_; }
    void SetMin(int value) { SetRange(value, max_); }
    int Max() const { return max_; }
    void SetMax(int value) { SetRange(min_, value); }
    // A range given backwards is taken the right way round.
    void SetRange(int min, int max);
    int Position() const { return position_; }
    void SetPosition(int value);

protected:
    void Paint() override;

private:
    int min_ = 0, max_ = 100, position_ = 0;
};

} // namespace gui

#pragma once
// A horizontal track bar: a thumb on a channel over Min..Max with a tick at every value.
// The thumb is dragged with the mouse; a click beside it moves a page toward the click; the
// arrow keys move a line, Page Up/Down a page, Home and End to the ends, as Win32 has them.
// OnChange follows every change of Position, from code too.
#include "gui/CustomControl.h"

#include <string>

namespace gui {

class TTrackBar : public TCustomControl {
public:
    explicit TTrackBar(TComponent* owner);
    std::string ClassName() const override { return "TTrackBar"; }
    int Min() const { return min_; }
    void SetMin(int value) { SetRange(value, max_); }
    int Max() const { return max_; }
    void SetMax(int value) { SetRange(min_, value); }
    // A range given backwards is taken the right way round.
    void SetRange(int min, int max);
    int Position() const { return position_; }
    void SetPosition(int value);
    TNotifyEvent OnChange;

    // Where the thumb lies, in client coordinates.
    TRect ThumbRect();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;
    void CMCancelMode(TMessage& message) override;

private:
    static constexpr int ThumbWidth = 11, ThumbHeight = 21, LineSize = 1, PageSize = 2;
    // The thumb centre's first and last x.
    int ChannelLeft() { return ThumbWidth / 2 + 8; }
    int ChannelRight() { return ClientWidth() - ThumbWidth / 2 - 8; }
    int XOf(int position);
    int PositionAt(int x);
    int min_ = 0, max_ = 10, position_ = 0;
    bool dragging_ = false;
    int dragOffset_ = 0;
};

} // namespace gui

#pragma once
// Up/down buttons over the native "msctls_updown32" window: a position stepped by Increment
// between Min and Max, shown in an associated edit (which they sit beside and whose arrow keys
// step them), with auto-repeat while a button is held.
#include "gui/WinControl.h"

#include <functional>
#include <string>

namespace gui {

enum TUDOrientation : uint8_t { udHorizontal, udVertical };
enum TUDAlignButton : uint8_t { udLeft, udRight };
enum TUDBtnType : uint8_t { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);
    std::string ClassName() const override { return "TUpDown"; }
    void WndProc(TMessage& message) override;

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    // The associated edit's number, when it holds one, is the position.
    int Position();
    void SetPosition(int value);
    int Increment() const { return increment_; }
    void SetIncrement(int value);
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* value);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation value);
    TUDAlignButton AlignButton() const { return alignButton_; }
    void SetAlignButton(TUDAlignButton value);
    bool Wrap() const { return wrap_; }
    void SetWrap(bool value);
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool value);
    bool Thousands() const { return thousands_; }
    void SetThousands(bool value);

    // Before each step, which may be refused; after it, which button made it.
    TUDChangingEvent OnChanging;
    TUDClickEvent OnClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual bool CanChange();
    virtual void ButtonClick(TUDBtnType button);

private:
    void ApplyRange();
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    TWinControl* associate_ = nullptr;
    TUDOrientation orientation_ = udVertical;
    TUDAlignButton alignButton_ = udRight;
    bool wrap_ = false, arrowKeys_ = true, thousands_ = true;
    int lastDelta_ = 0;
};

} // namespace gui

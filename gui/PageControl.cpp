#include "gui/PageControl.h"

#include "gui/Forms.h"
#include "win/Input.h"

#include <algorithm>

namespace gui {

// ---- sheet

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csAcceptsControls | csSetCaption | csOpaque;
    SetColor(clBtnFace);
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) {
    if (pageControl_ == value) return;
    if (pageControl_) pageControl_->RemovePage(this);
    SetParent(value);
    if (value) value->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    auto& p = pageControl_->pages_;
    return static_cast<int>(std::find(p.begin(), p.end(), this) - p.begin());
}

void TTabSheet::SetPageIndex(int value) {
    if (pageControl_) pageControl_->MovePage(this, value);
}

void TTabSheet::SetTabVisible(bool value) {
    if (tabVisible_ == value) return;
    tabVisible_ = value;
    if (!pageControl_) return;
    // The active page losing its tab gives way to the next page that has one.
    if (!value && pageControl_->activePage_ == this)
        pageControl_->SetActivePage(pageControl_->FindNextPage(this, true, true));
    pageControl_->UpdateTabsFromPages();
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int n = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this) return n;
        if (p->tabVisible_) ++n;
    }
    return -1;
}

void TTabSheet::SetImageIndex(int value) {
    if (imageIndex_ == value) return;
    imageIndex_ = value;
    if (pageControl_) pageControl_->UpdateTabImages();
}

void TTabSheet::CMTextChanged(TMessage& m) {
    TWinControl::CMTextChanged(m);
    if (pageControl_ && tabVisible_) pageControl_->Tabs()->SetStrings(TabIndex(), Caption());
}

// ---- page control

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    // The pages go with the control's children; they have no page control to leave by then.
    for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

void TPageControl::CreateWnd() {
    TCustomTabControl::CreateWnd();
    // The window's selection follows the page shown.
    if (activePage_) SetTabIndex(activePage_->TabIndex());
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    page->FreeNotification(this);
    UpdateTabsFromPages();
    if (!activePage_ && page->tabVisible_) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    TTabSheet* next = activePage_ == page ? FindNextPage(page, true, true) : activePage_;
    if (next == page) next = nullptr;
    pages_.erase(it);
    page->pageControl_ = nullptr;
    page->RemoveFreeNotification(this);
    if (activePage_ == page) activePage_ = nullptr;
    UpdateTabsFromPages();
    if (!Destroying()) SetActivePage(next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    index = std::clamp(index, 0, static_cast<int>(pages_.size()));
    pages_.insert(pages_.begin() + index, page);
    UpdateTabsFromPages();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TCustomTabControl::Notification(component, operation);
    if (operation == TOperation::opRemove)
        if (auto* page = dynamic_cast<TTabSheet*>(component); page && page->pageControl_ == this)
            RemovePage(page);
}

void TPageControl::UpdateTabsFromPages() {
    Tabs()->BeginUpdate();
    Tabs()->Clear();
    for (TTabSheet* p : pages_)
        if (p->tabVisible_) Tabs()->AddObject(p->Caption(), p);
    Tabs()->EndUpdate();
    SetTabIndex(activePage_ ? activePage_->TabIndex() : -1);
}

int TPageControl::GetImageIndex(int tabIndex) {
    TTabSheet* p = PageForTab(tabIndex);
    return p ? p->imageIndex_ : -1;
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* p : pages_)
        if (p->tabVisible_ && tabIndex-- == 0) return p;
    return nullptr;
}

void TPageControl::ShowPage(TTabSheet* page) {
    TTabSheet* old = activePage_;
    if (old == page) return;
    // The focus inside the page going away comes to the page control.
    if (old) {
        TCustomForm* form = GetParentForm(this);
        TWinControl* focus = FindControl(GetFocus());
        if (form && focus && old->ContainsControl(focus) && CanFocus()) SetFocus();
    }
    activePage_ = page;
    if (page) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (old) old->SetVisible(false);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && (page->pageControl_ != this || !page->tabVisible_)) return;
    ShowPage(page);
    SetTabIndex(page ? page->TabIndex() : -1);
}

int TPageControl::ActivePageIndex() const {
    return activePage_ ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? pages_[static_cast<size_t>(value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    int n = PageCount();
    if (n == 0) return nullptr;
    auto it = std::find(pages_.begin(), pages_.end(), current);
    int start = it == pages_.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
    for (int k = 1; k <= n; ++k) {
        int i = goForward ? (start + k) % n : (start - k + n) % n;
        TTabSheet* p = pages_[static_cast<size_t>(i)];
        if (!checkTabVisible || p->tabVisible_) return p;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
    TTabSheet* page = FindNextPage(activePage_, goForward, checkTabVisible);
    if (!page || page == activePage_ || !CanChange()) return;
    SetActivePage(page);
    Change();
}

void TPageControl::Change() {
    // The user chose a tab: its page comes up before OnChange is told.
    if (TTabSheet* page = PageForTab(TabIndex())) ShowPage(page);
    TCustomTabControl::Change();
}

} // namespace gui

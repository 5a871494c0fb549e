#pragma once
// The sections of the skinned menus and hints: the popup-menu window, its rows with their
// divider, check, radio and submenu marks, the main menu bar with its items and MDI buttons,
// and the hint window.
namespace skingen {

class SkinBuilder;

void BuildPopupMenus(SkinBuilder& builder);
void BuildMenuBar(SkinBuilder& builder);
void BuildHints(SkinBuilder& builder);

} // namespace skingen

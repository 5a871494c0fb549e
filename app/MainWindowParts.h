#pragma once
// The main window's bars, menus and file list, made in one place so that each can become its
// skinned class as that class arrives, without the window's handlers changing.
#include "gui/Fwd.h"

namespace gui {
class TCustomListView;
class TControl;
class TMainMenu;
class TMenuItem;
class TPopupMenu;
class TWinControl;
} // namespace gui
namespace skin {
class TbsSkinMainMenuBar;
class TbsSkinPanel;
class TbsTrackMenu;
} // namespace skin

namespace app {

class TForm1;

// The main menu in the window's skin, and the skinned menu bar across the top (22 px) that
// shows it and that the window's Alt and F10 keys drive.
gui::TMainMenu* MakeMainMenu(TForm1* form);
skin::TbsSkinMainMenuBar* MakeMenuBar(TForm1* form, gui::TMainMenu* menu);
// The tool bar under it (0, 22, 799 × 56); the window adds its buttons.
skin::TbsSkinPanel* MakeToolBar(TForm1* form);
gui::TPopupMenu* MakePopupMenu(TForm1* form);
// What a menu button asks of its menu; nullptr while popup menus cannot be shown.
skin::TbsTrackMenu* TrackMenuOf(gui::TPopupMenu* menu);
// The report-style file list with its 25 columns (18 hidden), single whole-row selection.
gui::TCustomListView* MakeFileList(TForm1* form, gui::TWinControl* parent);

} // namespace app

#pragma once
// Forward declarations of the class library, for headers that only pass its objects along.
#include <cstdint>

namespace os {
class TObject;
class TPersistent;
class TComponent;
} // namespace os

namespace gui {

using os::TComponent;
using os::TObject;
using os::TPersistent;

class TGraphicsObject;
class TFont;
class TPen;
class TBrush;
class TCanvas;
class TGraphic;
class TBitmap;
class TIcon;
class TPicture;
class TSizeConstraints;
class TControl;
class TWinControl;
class TControlCanvas;
class TGraphicControl;
class TCustomControl;
class TCustomForm;
class TForm;
class TApplication;
class TScreen;
class TStrings;
class TStringList;
class TCollection;
class TCollectionItem;
class TStream;
class TMemoryStream;
class TFileStream;
class TStringStream;
class TCustomIniFile;
class TIniFile;
class TMemIniFile;
class TThread;
class TCriticalSection;
class TEvent;
class TMenuItem;
class TMenu;
class TMainMenu;
class TPopupMenu;
class TCustomImageList;
class TImageList;
class THintWindow;
class TCustomLabel;
class TLabel;
class TBevel;
class TSplitter;
class TCustomPanel;
class TPanel;
class TImage;
class TButtonControl;
class TCheckBox;
class TRadioButton;
class TProgressBar;
class TTrackBar;
class TClipboard;
class TCustomEdit;
class TEdit;
class TCustomMemo;
class TMemo;
class TCustomListBox;
class TListBox;
class TComboBox;
class TCustomTabControl;
class TTabControl;
class TPageControl;
class TTabSheet;
class TUpDown;
class TListItem;
class TListItems;
class TListColumn;
class TListColumns;
class TCustomListView;
class TListView;
class TTreeNode;
class TTreeNodes;
class TCustomTreeView;
class TTreeView;

using TShortCut = uint16_t;

} // namespace gui

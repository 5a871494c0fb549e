#pragma once
// A walk through the program's windows in one skin after another: the main window as the
// program starts it, the options dialog, the add menu open on its first row, the open dialog
// and the skin chooser, each pictured for the skin's contact sheet.  Runs on the headless
// display with the user's folders in a temporary place.
#include "ContactSheet.h"

#include <functional>
#include <string>

namespace app {
class TForm1;
class TForm5;
} // namespace app

namespace skingallery {

class SkinTour {
public:
    // Makes the main window and the options dialog; `sampleFolder` is where the open dialog
    // opens, with a few files to list.
    explicit SkinTour(std::string sampleFolder);
    ~SkinTour();
    SkinTour(const SkinTour&) = delete;
    SkinTour& operator=(const SkinTour&) = delete;

    int SkinCount() const;
    // Switches the program to the skin and pictures its windows.
    ContactSheet Visit(int skinIndex);

private:
    // Runs a modal dialog, pictures it once it has painted, and cancels it.
    gdi::image::Image ShootModal(const std::function<void()>& execute);

    std::string sampleFolder_;
    app::TForm1* main_ = nullptr;
    app::TForm5* options_ = nullptr;
};

} // namespace skingallery

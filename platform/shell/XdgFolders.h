#pragma once
// The user's folders by the freedesktop conventions: HOME, the XDG base
// folders and the named folders of ~/.config/user-dirs.dirs.  Read afresh
// on each call, so a changed HOME (tests) is seen at once.
#include <string>

namespace shell {

class XdgFolders {
public:
    static std::string Home();       // $HOME, else the password database's
    static std::string DataHome();   // $XDG_DATA_HOME when absolute, else ~/.local/share
    static std::string ConfigHome(); // $XDG_CONFIG_HOME when absolute, else ~/.config
    // key as in user-dirs.dirs without its XDG_ and _DIR ("DESKTOP",
    // "DOCUMENTS", "TEMPLATES"); unset names give ~/Desktop for DESKTOP and
    // the home folder for the others, as xdg-user-dir answers.
    static std::string UserDir(const std::string& key);
    // The folder a special-folder number stands for on Linux; "" when it has
    // no counterpart here (printers, control panel, network ...).
    static std::string SpecialFolder(int csidl);
};

} // namespace shell

#pragma once
// File masks of the file dialogs: which names a mask list admits, and the extension a filter
// mask stands for.  Letters are compared without regard to case, as the file dialogs of every
// desktop do.
#include <string>

namespace skin {

// mask list: masks separated by ";" or "|".  A mask admits a name when it is "*" or when it
// has a "." and its wildcards match; a mask without a dot admits nothing.  Blanks around a
// mask are not part of it ("*.aif; *.aiff" admits both kinds).
bool MaskListAccepts(const std::string& name, const std::string& maskList);
// The extension of a name with its dot: the text from the last "." after the last "/";
// empty without one.
std::string NameExtension(const std::string& name);
// The extension a filter mask stands for: none for a mask with ".*", else the extension of
// the mask or of its first part before ";".
std::string FilterExtension(const std::string& mask);

} // namespace skin

#pragma once
// Run-time loading of shared libraries.
#include <string>

namespace os {

using LibHandle = void*;

// Loads a library by path (with a "/") or by bare name through the system
// search.  On failure returns nullptr and LastLibraryError() says why.
LibHandle LoadLib(const std::string& fileName);
void FreeLib(LibHandle h);
void* LibSymbol(LibHandle h, const char* name); // nullptr when missing
// The system's text for the last failure of this thread's LoadLib/LibSymbol.
std::string LastLibraryError();

} // namespace os

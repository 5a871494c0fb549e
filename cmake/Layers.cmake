# Which folders may include which: the layers' one-way arrows, checked by the
# "layers" test (cmake/CheckLayers.cmake) over every C and C++ file in the tree.
#
# tarvik_layer(<folder> <folder it may include from>...)
#   A file belongs to the rule with the longest matching folder; its quoted
#   (and angled) includes of project headers must lie in one of the listed
#   folders or below them. ANY lets a folder include every project header.
#   A folder with sources that no rule covers fails the check: give it a rule.
#
# tarvik_system_headers(<name> <regex> <folder>...)
#   Headers whose name matches <regex> may be reached, directly or through
#   project headers, only from files in the listed folders.

# The platform, lowest first: each part sees the parts before it.
tarvik_layer(platform/os       platform/os)
tarvik_layer(platform/gdi/text platform/os platform/gdi/text)
tarvik_layer(platform/gdi/image platform/os platform/gdi/image)
tarvik_layer(platform/gdi      platform/os platform/gdi)
tarvik_layer(platform/display  platform/os platform/gdi platform/display)
tarvik_layer(platform/win      platform/os platform/gdi platform/display platform/win)
tarvik_layer(platform/controls platform/os platform/gdi platform/display platform/win platform/controls)
tarvik_layer(platform/shell    platform/os platform/gdi platform/display platform/win platform/controls
                               platform/shell)

# The media components are tested without any window: no GUI header.
tarvik_layer(media             platform/os media)

tarvik_layer(gui               platform gui)
# The skinning library, lowest first, the same way: the skin data, the drawing engine, the
# popup menus, the skinned controls, the hint window, the skinned forms (with the menus and
# the message box that need them), the shell views and the file dialogs.
tarvik_layer(skin/core         platform gui skin/core)
tarvik_layer(skin/engine       platform gui skin/core skin/engine)
tarvik_layer(skin/menus        platform gui skin/core skin/engine skin/menus)
tarvik_layer(skin/controls     platform gui skin/core skin/engine skin/menus skin/controls)
tarvik_layer(skin/hints        platform gui skin/core skin/engine skin/menus skin/controls skin/hints)
tarvik_layer(skin/forms        platform gui skin/core skin/engine skin/menus skin/controls skin/hints
                               skin/forms)
tarvik_layer(skin/shell        platform gui skin/core skin/engine skin/menus skin/controls skin/hints
                               skin/forms skin/shell)
tarvik_layer(skin/dialogs      platform gui skin/core skin/engine skin/menus skin/controls skin/hints
                               skin/forms skin/shell skin/dialogs)
tarvik_layer(resources         platform gui resources)
tarvik_layer(skins             platform gui skin skins)
tarvik_layer(catalogue         platform/os catalogue)
tarvik_layer(app               platform gui skin media catalogue resources skins app)
tarvik_layer(tools             platform gui skin media catalogue tools)
# The gallery drives the whole program.
tarvik_layer(tools/skingallery platform gui skin media catalogue resources skins app tools/skingallery)

# Tests and benchmarks look at any layer from outside.
tarvik_layer(tests             ANY)
tarvik_layer(bench             ANY)

tarvik_system_headers(X11 "^X11/" platform/display/x11 tests)
tarvik_system_headers(FreeType "^(ft2build\\.h|freetype2?/|fontconfig/)" platform/gdi tests)

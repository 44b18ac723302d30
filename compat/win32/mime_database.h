// The classes root made from the desktop's shared MIME database and its lists of default
// applications, for when no registry export file is named. Internal to compat/win32.
//
// Where it looks: the data directories are XDG_DATA_HOME (default ~/.local/share) and then those
// of XDG_DATA_DIRS (default /usr/local/share:/usr/share), the configuration directories
// XDG_CONFIG_HOME (default ~/.config) and then XDG_CONFIG_DIRS (default /etc/xdg); an earlier
// directory comes before a later one.
// - Extensions: the globs "*.ext" of each data directory's mime/globs2 ("weight:type:glob" with
//   an optional ":cs" flag), other patterns passed over. Extensions are matched without regard
//   to case, as registry keys are; for each the glob of the highest weight wins, then one that
//   is not case-sensitive over one that is, then one written in lower case, then the earlier
//   directory and line. The extension's key ".ext" gets the type as its default value and as
//   "Content Type".
// - Types: each type a glob names gets a class key of its name, whose default value is the
//   <comment> without xml:lang in the first mime/<type>.xml (as update-mime-database writes it)
//   found in the data directories.
// - Commands: the type's default application is the first existing desktop entry named for it
//   in the [Default Applications] of mimeapps.list (configuration directories, then the data
//   directories' applications/), then of applications/defaults.list, then in the [MIME Cache]
//   of applications/mimeinfo.cache (update-desktop-database's list of all applications by type).
//   A desktop entry "id.desktop" is found as applications/id.desktop in the data directories;
//   one with Hidden=true does not count. Its Exec line, unescaped, becomes the value of the class
//   key's Shell\Open\Command with the file field codes (%f, %F, %u, %U) as "%1", %% as %, and the
//   other field codes left out.
// Files that are missing or cannot be read are passed over, as are malformed lines.
#pragma once

#include "registry_tree.h"

namespace bwcompat {

// Fills the classes root from the MIME database. Throws std::bad_alloc when memory runs out.
void ReadMimeDatabase(RegistryKey& classesRoot);

} // namespace bwcompat

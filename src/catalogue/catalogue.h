#pragma once
// Catalogue entries: one list item per listed file, with its name, formatted size, type
// name and the cached icon pair, made in the order of the file list so that entry n (from
// 1) and thumbnail n - 1 show the same file.

#include "catalogue/filelist.h"
#include "catalogue/iconcache.h"
#include "common/result.h"
#include "platform/listview.h"

#include <QString>

namespace pavix::catalogue {

// Length of the file `name` in the folder the file list shows (not any other folder), as
// the size column and the status bar report it. Fails as fileLength() does.
common::Result<qint64> listedFileLength(const FileList &files, const QString &name);

// Adds one entry for the file at `path` to the end of the list: text = the name after the
// last "/", icon = the cache position, sub-item 1 = FormatFileSize of the length of that
// name in `files`' folder (with the number itself, so sizes order numerically), sub-item
// 2 = the cached type name. Attaches the cache's lists as the list's icon sources where it
// has none, and tells the list when the cache's images changed. An entry made in an empty
// list starts a new listing in the cache (icons of earlier listings may go). When the
// length cannot be read the error is returned and no entry is made.
common::Status AddCatalogueEntry(const QString &path, const FileList &files, IconCache &cache,
                                 platform::ListView &lv);

// Adds one entry per file of `files`, in list order, each under `folder` joined with its
// name ("/" is not doubled for the root). Stops at the first file that fails and returns
// its error; the entries made before it stay.
common::Status ListFolder(const QString &folder, const FileList &files, IconCache &cache,
                          platform::ListView &lv);

} // namespace pavix::catalogue

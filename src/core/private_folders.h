#pragma once
#include <QString>

namespace cardora {

// Folders only this user can enter, for sockets and scratch files that
// another local user must neither read, replace nor redirect.

// True when `path` itself (not a link to it) is a folder of this user that
// nobody else may enter (mode 0700 or stricter).
bool IsPrivateFolder(const QString& path);

// The user's runtime folder: XDG_RUNTIME_DIR when it is private, else
// <tmp>/cardora-<uid>, created 0700. Something else already under that name
// (a link, a file, another user's folder, an open one) is refused, never
// changed: empty, with the reason in *error.
QString UserRuntimeFolder(QString* error = nullptr);

// A new, empty, private folder in the temporary folder named
// "<prefix>-<pid>-XXXXXX", so that a later run can tell whose it was.
// Empty when none can be made.
QString MakeScratchFolder(const QString& prefix);

// Removes what earlier runs ended by a signal left in `folder`: entries
// "<prefix>-<pid>-..." of this user whose process is gone. Links are removed,
// never followed; nothing of another user is touched. Returns how many went.
int RemoveStaleScratch(const QString& folder, const QString& prefix);

} // namespace cardora

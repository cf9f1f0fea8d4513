#pragma once

#include <QString>

// Where the program's sockets live, safe from other local users: $XDG_RUNTIME_DIR, else
// a folder of our own below the temporary folder (<tmp>/quavrix-<uid>, mode 0700). A
// name another user could pre-create is used only when it is a real folder of ours that
// nobody else can enter.
namespace RuntimeFolder {

// The runtime folder; empty when no safe one exists (then nothing is shared).
QString path();

// path() + "/" + name as a private folder (created 0700 when missing); empty when it is
// not a folder of ours closed to others.
QString privateFolder(const QString& name);

// A socket name inside the runtime folder; empty when there is none.
QString socketPath(const QString& name);

// Whether the process at the other end of a connected local socket runs as our user.
bool peerIsOurs(qintptr socketDescriptor);

} // namespace RuntimeFolder

// The Firebird root folder the client library runs the embedded engine from. The system's
// configuration runs the engine in a mode that holds a database file for one process alone, so
// a second viewer on the same file is refused. Before the client library is loaded, the
// driver points FIREBIRD at a root of its own: the system's pieces linked in, and a
// firebird.conf that includes the system's and asks for the mode that shares database files
// between processes (locks in FIREBIRD_LOCK). A FIREBIRD the user set is left alone.
#pragma once
#include <string>

// Makes (or reuses) the private root beside `systemRoot` and sets FIREBIRD to it unless FIREBIRD
// is set already. Returns the root in use, empty when it left things as they were (the system
// root is missing, or no safe folder could be made).
std::string UseSharedEmbeddedRoot(const std::string& systemRoot);

// The folder for the private root: $XDG_RUNTIME_DIR/ledgerly-firebird, else
// /tmp/ledgerly-firebird-<uid>.
std::string SharedEmbeddedRootFolder();

// The text of the private firebird.conf.
std::string SharedEmbeddedConfig(const std::string& systemRoot);

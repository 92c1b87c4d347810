// Finding the program file a startup entry's command line names.
#pragma once

#include <string>

// The program path of a command line: a quoted path as written, else the lower-cased text up
// to the "exe" of the first ".exe " (or up to three characters past the first dot when the
// text ends soon after it). Keeps the results users and the existence check rely on, odd ones
// included: "c:\tools.v2\app.exe" gives "c:\".
std::string ExtractCommandPath(const std::string& command);

// The command up to and including its first ".exe" (any case), without a leading quotation
// mark; empty when there is none. Finds programs under folders whose names contain a dot.
std::string ExeCommandPath(const std::string& command);

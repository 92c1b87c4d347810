#pragma once
// The skinpack command line, callable from tests: args exclude the program name; the result is
// the process exit code (0 success, 1 bad input or I/O failure, 2 wrong usage).
#include <iosfwd>
#include <string>
#include <vector>

int RunSkinpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// vemtra-svc: a command line over ServiceController in the manner of sc.exe,
// showing the library's Chinese labels. Portable: it writes ANSI text to the
// streams it is given; the Windows entry point converts it for the console.
// Every decision about a service stays in the library: the command line
// parses, calls one operation and prints its result.
#pragma once

#include <iosfwd>
#include <vector>

#include "support/text.h"

enum CliExitCode : int {
  kCliSucceeded = 0,
  kCliFailed = 1,    // the operation gave its failure value
  kCliBadUsage = 2,  // unknown command or option, missing or malformed argument
};

// Runs one command line (the arguments after the program name). Results go
// to `out`; failures and usage lines to `err`.
int RunServiceCli(const std::vector<Text>& args, std::ostream& out, std::ostream& err);

// The command line of mgt2orvo: one table of options, from which the parser, --help, the manual page
// and the bash completion are all made.
#pragma once

#include <string>

#include "MIDAStranslatetoOrvo.h"
#include "SvgWriter.h"

struct Options {
    bool json = false;
    bool report = false;
    bool stats = false;
    int threads = 0;  // reading threads; 0: the hardware threads
    const char* svg = nullptr;
    SvgView view = SvgView::Iso;
    MidasReadingProfile profile = MidasReadingProfile::Classic;
    std::string encoding;
    const char* path = nullptr;  // as given; "-" is standard input
    std::string name;            // the input as messages, the summary and the picture name it
    std::string source;          // the file read: the path, or a copy of standard input
};

// Reads the command line into options; returns -1 to go on, otherwise the exit status (after printing
// the help, the version, the manual page or the completion script, or a usage error).
int ParseOptions(int argc, char** argv, Options& options);

// Prints a usage error on standard error and returns the exit status of one (2).
int UsageError(const std::string& message);

// The texts made from the option table.
std::string UsageText();       // --help
std::string ManPage();         // mgt2orvo.1, in man(7) markup
std::string BashCompletion();  // a script that bash sources

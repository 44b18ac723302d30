// The bwcore tool's subcommands: one file per command, each a thin layer over the library's
// exported interface, registered in the table in main.cpp.
#pragma once

struct Command {
    const char* name;
    const char* usage;                 // the arguments, as shown by --help
    const char* summary;               // one line
    int (*run)(int argc, char** argv); // argv[0] is the command's name
};

// Exit codes shared by every command.
enum ExitCode { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

int runMsg(int argc, char** argv);
int runScript(int argc, char** argv);
int runEvents(int argc, char** argv);
int runLang(int argc, char** argv);
int runPlatform(int argc, char** argv);
int runScramble(int argc, char** argv);
int runUnscramble(int argc, char** argv);
int runVersion(int argc, char** argv);
int runBitmap(int argc, char** argv);
int runTypes(int argc, char** argv);
int runLs(int argc, char** argv);
int runMsgbox(int argc, char** argv);
int runDialog(int argc, char** argv);

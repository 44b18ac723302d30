// rc2c: compiles a resource script into a C++ source file of resource data, for the Linux build
// (the Windows build compiles the same script with the platform's resource compiler).
//
// Usage: rc2c SCRIPT.rc OUTPUT.cpp [DEPFILE]
// DEPFILE, when given, receives the files read, in the form make and Ninja read.
#include "RcParser.h"
#include "SourceWriter.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

std::string escapeForDepfile(const std::string& Path) {
    std::string Out;
    for (char C : Path) {
        if (C == ' ' || C == '#' || C == '\\')
            Out += '\\';
        if (C == '$')
            Out += '$';
        Out += C;
    }
    return Out;
}

bool writeFile(const std::string& Path, const std::string& Content) {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out << Content;
    Out.close();
    return static_cast<bool>(Out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: rc2c SCRIPT.rc OUTPUT.cpp [DEPFILE]\n";
        return 2;
    }
    const std::string Script = argv[1], Output = argv[2];
    try {
        rc2c::ResourceSet Resources;
        rc2c::RcParser Parser(Resources);
        Parser.parseFile(Script);

        std::ostringstream Source;
        rc2c::writeSource(Source, Resources.resources(), Script);
        if (!writeFile(Output, Source.str())) {
            std::cerr << Output << ": cannot write the file\n";
            return 1;
        }
        if (argc == 4) {
            std::string Deps = escapeForDepfile(Output) + ":";
            for (const std::string& File : Parser.filesRead())
                Deps += " " + escapeForDepfile(File);
            if (!writeFile(argv[3], Deps + "\n")) {
                std::cerr << argv[3] << ": cannot write the file\n";
                return 1;
            }
        }
    } catch (const rc2c::RcError& E) {
        std::remove(Output.c_str());
        std::cerr << E.what() << "\n";
        return 1;
    }
    return 0;
}

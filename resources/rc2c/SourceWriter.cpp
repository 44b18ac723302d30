#include "SourceWriter.h"

namespace rc2c {

namespace {

// A C++ string literal for a resource name (upper-case letters, digits and '_').
std::string quoted(const std::string& S) {
    return "\"" + S + "\"";
}

void writeBytes(std::ostream& Out, const std::vector<uint8_t>& Data) {
    static const char Hex[] = "0123456789abcdef";
    for (size_t I = 0; I < Data.size(); ++I) {
        Out << (I % 16 == 0 ? "    " : " ") << "0x" << Hex[Data[I] >> 4] << Hex[Data[I] & 0xF]
            << ",";
        if (I % 16 == 15 || I + 1 == Data.size())
            Out << "\n";
    }
}

} // namespace

void writeSource(std::ostream& Out, const std::vector<Resource>& Resources,
                 const std::string& ScriptName) {
    Out << "// The resources of " << ScriptName << ", written by rc2c. Do not edit.\n"
        << "#include <bwcore/win32/resources.h>\n\n";
    Out << "extern \"C\" __attribute__((visibility(\"hidden\"))) const BW_RESOURCE_DIRECTORY "
           "bw_module_resources;\n\n";
    if (Resources.empty()) {
        Out << "const BW_RESOURCE_DIRECTORY bw_module_resources = {nullptr, 0};\n";
        return;
    }
    Out << "namespace {\n\n";
    // Resource data is read in place as WORDs and DWORDs (string blocks, icon directories,
    // bitmap headers), so it is aligned as in a Windows image.
    for (size_t I = 0; I < Resources.size(); ++I) {
        Out << "alignas(8) const BYTE data" << I << "[] = {\n";
        writeBytes(Out, Resources[I].Data);
        Out << "};\n\n";
    }
    Out << "const BW_RESOURCE_ENTRY entries[] = {\n";
    for (size_t I = 0; I < Resources.size(); ++I) {
        const Resource& R = Resources[I];
        Out << "    {" << R.Type << ", " << R.Name.Id << ", "
            << (R.Name.Name.empty() ? std::string("nullptr") : quoted(R.Name.Name)) << ", "
            << R.Language << ", " << R.Data.size() << ", data" << I << "},\n";
    }
    Out << "};\n\n} // namespace\n\n";
    Out << "const BW_RESOURCE_DIRECTORY bw_module_resources = {entries, " << Resources.size()
        << "};\n";
}

} // namespace rc2c

#include "ScriptCorpus.h"

#include <stdint.h>
#include <stdio.h>

namespace {

// A fixed-seed generator, so that every run measures the same text.
class Random {
public:
    uint32_t next(uint32_t bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(m_state >> 33) % bound;
    }

private:
    uint64_t m_state = 0x2545F4914F6CDD1DULL;
};

const char* const kCategories[] = {"Setup", "Files", "Registry", "Shortcuts", "Services"};
const char* const kEvents[] = {"Initialize", "BeforeCopy", "AfterCopy", "Finish", "Rollback"};
const char* const kTypes[] = {"NUMBER", "STRING", "BOOL", "LIST"};

template <size_t N>
const char* pick(Random& random, const char* const (&words)[N]) {
    return words[random.next(N)];
}

void writeModule(FILE* out, Random& random, unsigned module) {
    fprintf(out,
            "/*\n"
            " * Module %u: generated installation steps.\n"
            " * Block comments such as this one span lines and hold no tokens: function end;\n"
            " */\n"
            "#include \"module%u.bwh\"\n"
            "#ifdef MODULE%u_TRACE\n"
            "#define TRACE_LEVEL %u\n"
            "#endif\n\n",
            module, module, module, random.next(5));

    fprintf(out, "// {Properties}\n");
    for (unsigned p = 0; p < 3; ++p)
        fprintf(out, "property(get, put) %s Prop%u_%u();\n", pick(random, kTypes), module, p);
    fprintf(out, "\n// {Methods}\n");
    fprintf(out, "method NUMBER Run%u(STRING, NUMBER);\n\n", module);

    const unsigned functions = 4 + random.next(4);
    for (unsigned f = 0; f < functions; ++f)
        fprintf(out, "prototype %s Step%u_%u(STRING, BYREF NUMBER);\n", pick(random, kTypes),
                module, f);
    fprintf(out, "export prototype NUMBER Entry%u();\n\n", module);

    for (unsigned f = 0; f < functions; ++f) {
        const unsigned tag = random.next(1000);
        fprintf(out,
                "// Category: %s\n"
                "// Event: %s\n"
                "// Step %u of module %u: copies and registers what the step needs.\n"
                "function %s Step%u_%u(szName, nValue)\n"
                "    STRING szText, szPath;\n"
                "    NUMBER nResult, nIndex;\n"
                "begin\n"
                "    // {{BW_SCRIPT_TAG(Step%u_%u_%u)\n"
                "    szText = \"Processing \" + szName + \" with \\\"quotes\\\" inside\";\n"
                "    szPath = TARGETDIR ^ 'data\\\\module%u' ^ szName;\n"
                "    nResult = CopyFileGroup(szPath, nValue * %u + %u);\n"
                "    /* The result is checked here: a negative value stops the step. */\n"
                "    if (nResult < 0) then\n"
                "        MessageBox('Step %u failed: ' + szText, SEVERE);\n"
                "        return nResult;\n"
                "    endif;\n"
                "    for nIndex = 1 to %u\n"
                "        nResult = nResult + Helper%u(nIndex, szText); // running total\n"
                "    endfor;\n"
                "    // }}BW_SCRIPT_TAG(Step%u_%u_%u)\n"
                "    return nResult;\n"
                "end;\n\n",
                pick(random, kCategories), pick(random, kEvents), f, module, pick(random, kTypes),
                module, f, module, f, tag, module, random.next(100), random.next(1000), f,
                1 + random.next(9), random.next(50), module, f, tag);
    }

    fprintf(out,
            "function NUMBER Run%u(szMode, nFlags)\n"
            "begin\n"
            "    return Entry%u() + nFlags;\n"
            "end;\n\n"
            "function NUMBER Entry%u()\n"
            "    NUMBER nTotal;\n"
            "begin\n"
            "    nTotal = 0;\n",
            module, module, module);
    for (unsigned f = 0; f < functions; ++f)
        fprintf(out, "    Step%u_%u(\"item%u\", nTotal);\n", module, f, f);
    fprintf(out, "    return nTotal;\nend;\n\n");
}

} // namespace

size_t writeScriptCorpus(const std::string& path, size_t minBytes) {
    FILE* out = fopen(path.c_str(), "wb");
    if (out == nullptr)
        return 0;
    Random random;
    long size = 0;
    for (unsigned module = 0; static_cast<size_t>(size) < minBytes; ++module) {
        writeModule(out, random, module);
        size = ftell(out);
    }
    const bool ok = fclose(out) == 0 && size > 0;
    return ok ? static_cast<size_t>(size) : 0;
}

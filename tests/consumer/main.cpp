// Builds and links against the umbrella header alone, and finds the catalogue at run time.
#include <bwcore/bwcore.h>

#include <stdio.h>

int main() {
    BWCoreInit();
    CString text;
    if (!text.LoadString(30456)) {
        fprintf(stderr, "catalogue not found\n");
        return 1;
    }
    CBWPath path("dir");
    path ^= CBWPath("*.*");
    printf("%s %s\n", static_cast<LPCSTR>(text), static_cast<LPCSTR>(path));
    return text == "OK" ? 0 : 1;
}

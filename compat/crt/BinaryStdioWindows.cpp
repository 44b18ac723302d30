#include <bwcore/compat/BinaryStdio.h>

#include <fcntl.h>
#include <io.h>

int BwSetBinaryMode(FILE* stream) {
    if (stream == nullptr)
        return 0;
    return _setmode(_fileno(stream), _O_BINARY) != -1 ? 1 : 0;
}

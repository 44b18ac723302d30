#include <bwcore/compat/BinaryStdio.h>

int BwSetBinaryMode(FILE* stream) {
    return stream != nullptr ? 1 : 0;
}

// A C11 user of the flat C families: their headers compile as C, and the functions link by their
// plain names and work.
#include <bwcore/intl/Intl.h>
#include <bwcore/intl/Platform.h>
#include <bwcore/runtime/Encrypt.h>
#include <bwcore/runtime/HashLink.h>
#include <bwcore/runtime/Io.h>
#include <bwcore/runtime/List.h>
#include <bwcore/runtime/ListStorage.h>
#include <bwcore/runtime/MemHeap.h>
#include <bwcore/runtime/Strings.h>
#include <bwcore/ui/CutilLoadBitmap.h>

#include <stdio.h>
#include <string.h>

int main(void) {
    int failures = 0;

    HLIST list = ListCreate(0);
    ListInsert(list, "one");
    ListInsert(list, "two");
    failures += ListCount(list) != 2 || strcmp((const char*)ListFirst(list), "one") != 0;
    ListDestroy(list);

    HASHLINK* buckets[7] = {0};
    HashLinkAdd(buckets, 7, "key", 42);
    failures += HashLinkQuery(buckets, 7, "key") != 42;
    HashLinkDestroy(buckets, 7);

    char data[] = "scrambled and restored";
    EncryptEncodeData(data, sizeof data, 0x1234u);
    EncryptDecodeData(data, sizeof data, 0x1234u);
    failures += strcmp(data, "scrambled and restored") != 0;

    PLATFORMINFO set;
    char text[PLATFORM_BINTEXT_SIZE];
    PlatformBinTextToInfo("0x10", &set);
    PlatformInfoToBinText(&set, text);
    failures += strcmp(text, "0000000000000010") != 0;

    HINTL table = IntlCreate();
    failures += table == NULL || IntlDestroy(table) != 0;
    failures += _xlstrlen("four") != 4 || IoOpen(NULL, 2) != INVALID_HANDLE_VALUE;

    if (failures != 0)
        fprintf(stderr, "%d C calls failed\n", failures);
    return failures == 0 ? 0 : 1;
}

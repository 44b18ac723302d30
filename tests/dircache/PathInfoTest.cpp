// CPathInfo: the wildcard table, listings and copies of a real directory, the run-time class, the
// length limit of the search pattern and records that cannot be allocated.
#include "../win32/TestDirectory.h"
#include "FailingMalloc.h"

#include <bwcore/bwcore.h>

#include <gtest/gtest.h>

#include <string.h>
#include <time.h>

#include <memory>
#include <sstream>

namespace {

using Record = CPathInfo::pathfileinfo;

Record* At(CPtrArrayEx& arr, INT_PTR i) {
    return static_cast<Record*>(arr.GetAt(i));
}

std::string Names(CPtrArrayEx& arr) {
    std::string names;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i)
        names += (i ? "," : "") + std::string(At(arr, i)->pszName);
    return names;
}

TEST(PathInfo, WildcardTable) {
    const struct {
        const char *pattern, *matching, *others;
    } cases[] = {
        {"*.*", "README,a.txt", ""},
        {"*", "README", "a.txt"},
        {"*.txt", "A.TXT,b.c.txt", "a.txt.bak"}, // the name's last dot counts
        {"*.tar.gz", "", "a.tar.gz"},            // the pattern's first dot meets the name's last
        {"a*z.txt", "abc.txt", ""},
        {"a?c", "", "a.c"},
        {"??", "a,ab", "abc"},
        {"abc.", "abc", ""},
        {"abc.*", "abc", ""},
        {"*.??", "README", ""},
        {"", "", "README"},
    };
    for (const auto& c : cases) {
        // Duplicate keeps the files whose names CompWildcard matches.
        CPathInfo info;
        std::istringstream names(std::string(c.matching) + "," + c.others);
        for (std::string name; std::getline(names, name, ',');) {
            if (name.empty())
                continue;
            const int32_t size = int32_t(sizeof(Record) + name.size() + 1);
            Record* record = static_cast<Record*>(calloc(1, size_t(size)));
            record->nSize = size;
            record->pszName = strcpy(reinterpret_cast<char*>(record + 1), name.c_str());
            info.m_arrFiles.Add(record);
        }
        std::unique_ptr<CPathInfo> copy(info.Duplicate(c.pattern));
        EXPECT_EQ(Names(copy->m_arrFiles), c.matching) << c.pattern;
    }
}

class PathInfoTest : public ::testing::Test {
protected:
    // Three files, one of them hidden, and two subdirectories.
    PathInfoTest() {
        for (const char* name : {"a.txt", ".hidden", "noext"})
            m_dir.WriteFile(name, "abc");
        std::filesystem::create_directory(m_dir.Path("sub"));
        std::filesystem::create_directory(m_dir.Path("sub.txt"));
    }
    CString Path() const { return m_dir.Path().c_str(); }

    TestDirectory m_dir;
};

TEST_F(PathInfoTest, EnumDirAndIndependentCopies) {
    m_dir.WriteFile("big.bin", ""); // 4 GiB + 10 bytes, sparse: only the low 32 bits are kept
    std::filesystem::resize_file(m_dir.Path("big.bin"), (1ull << 32) + 10);
    auto info = std::make_unique<CPathInfo>(Path(), nullptr);
    EXPECT_EQ(info->EnumDir(""), 0);
    EXPECT_EQ(Names(info->m_arrFiles), ".hidden,a.txt,big.bin,noext");
    EXPECT_EQ(Names(info->m_arrDirs), "sub,sub.txt");
    const Record* a = At(info->m_arrFiles, 1);
    EXPECT_EQ(a->nSize, int32_t(sizeof(Record) + 6));
    EXPECT_EQ(a->dwSize, 3u);
    EXPECT_EQ(a->dwAttributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(a->nType, -1);
    const ULONGLONG now = (ULONGLONG(time(nullptr)) + 11644473600ull) * 10000000ull;
    EXPECT_NEAR(double(ULONGLONG(a->ftLastWrite.dwHighDateTime) << 32), double(now), 600e7);
    EXPECT_EQ(At(info->m_arrFiles, 2)->dwSize, 10u);

    std::unique_ptr<CPathInfo> text(info->Duplicate("*.TXT"));
    info.reset(); // the copy owns records of its own, names included
    EXPECT_EQ(Names(text->m_arrFiles) + ";" + Names(text->m_arrDirs), "a.txt;sub,sub.txt");
    EXPECT_EQ(text->EnumDir(""), 0) << "appends";
    EXPECT_EQ(text->m_arrFiles.GetSize(), 5);

    std::filesystem::create_directory(m_dir.Path("empty"));
    for (const char* name : {"\\empty", "\\missing"}) {
        CPathInfo none(Path() + name, nullptr);
        EXPECT_EQ(none.EnumDir(""), 0);
        EXPECT_EQ(none.m_arrFiles.GetSize() + none.m_arrDirs.GetSize(), 0);
    }
}

TEST_F(PathInfoTest, EntriesAreClassifiedByTheFileTypeTable) {
    CFileType types;
    CPathInfo info(Path(), &types);
    ASSERT_EQ(info.EnumDir(""), 0);
    EXPECT_EQ(At(info.m_arrFiles, 2)->nType, 0) << "noext";
    EXPECT_GT(At(info.m_arrDirs, 1)->nType, 0) << "sub.txt, by its extension like a file";
    EXPECT_EQ(At(info.m_arrDirs, 1)->nType, At(info.m_arrFiles, 1)->nType);
}

TEST(PathInfo, IsCreatedThroughItsRuntimeClass) {
    CRuntimeClass* pClass = CRuntimeClass::FromName("CPathInfo");
    ASSERT_EQ(pClass, RUNTIME_CLASS(CPathInfo));
    EXPECT_EQ(pClass->m_wSchema, 0xFFFFu);
    EXPECT_EQ(pClass->GetBaseClass(), RUNTIME_CLASS(CObject));
    std::unique_ptr<CObject> object(pClass->CreateObject());
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CPathInfo)));
}

TEST_F(PathInfoTest, SearchPatternsMustFitInMaxPath) {
    // The directory, "\" and "*.*" in 259 bytes is searched; one byte more is refused, not cut
    // down to "\*." (which would list the file without extension).
    for (size_t length : {MAX_PATH - 5, MAX_PATH - 4}) {
        const std::string name(length - m_dir.Path().size() - 1, 'd');
        std::filesystem::create_directory(m_dir.Path(name));
        m_dir.WriteFile(name + "/noext", "");
        CPathInfo info;
        EXPECT_EQ(info.EnumDir(m_dir.Path(name).c_str()), 0);
        EXPECT_EQ(info.m_arrFiles.GetSize(), length == MAX_PATH - 5 ? 1 : 0) << length;
    }
}

TEST_F(PathInfoTest, RecordsThatCannotBeAllocated) {
    if (!MallocFailuresInjectable())
        GTEST_SKIP() << "a DLL's malloc cannot be replaced here";
    const void* library = reinterpret_cast<const void*>(&_lstrnext);
    UntilMallocsSuffice(
        library,
        [&] {
            auto info = std::make_unique<CPathInfo>(Path(), nullptr);
            return std::make_pair(info->EnumDir(""), std::move(info));
        },
        [](const auto& result) { return result.first == 0; },
        [](const auto& result, int allowed) {
            EXPECT_EQ(result.first, -1);
            EXPECT_EQ(result.second->m_arrFiles.GetSize() + result.second->m_arrDirs.GetSize(),
                      allowed)
                << "the records made so far stay";
        });
    CPathInfo info(Path(), nullptr);
    ASSERT_EQ(info.EnumDir(""), 0);
    int failures = 0; // one for each of the two subdirectories and three files
    UntilMallocsSuffice(
        library, [&] { return std::unique_ptr<CPathInfo>(info.Duplicate("*.*")); },
        [](const auto& copy) { return copy != nullptr; }, [&](const auto&, int) { ++failures; });
    EXPECT_EQ(failures, 5);
}

} // namespace

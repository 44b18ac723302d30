#include "ResourceSet.h"

#include <algorithm>

namespace rc2c {

namespace {

void appendWord(std::vector<uint8_t>& Out, uint32_t V) {
    Out.push_back(static_cast<uint8_t>(V & 0xFF));
    Out.push_back(static_cast<uint8_t>((V >> 8) & 0xFF));
}

void appendDword(std::vector<uint8_t>& Out, uint32_t V) {
    appendWord(Out, V & 0xFFFF);
    appendWord(Out, V >> 16);
}

std::string describe(const ResourceName& N) {
    return N.Name.empty() ? std::to_string(N.Id) : N.Name;
}

const char* kindName(uint16_t Type) {
    return Type == ResourceTypeBitmap ? "bitmap" : Type == ResourceTypeDialog ? "dialog" : "icon";
}

std::string where(const SourceLocation& L) {
    return L.File + ":" + std::to_string(L.Line);
}

} // namespace

bool operator<(const ResourceName& A, const ResourceName& B) {
    return std::make_tuple(!A.Name.empty(), A.Id, A.Name) <
           std::make_tuple(!B.Name.empty(), B.Id, B.Name);
}

void ResourceSet::addString(uint16_t Language, uint16_t Id, const std::string& Text,
                            const SourceLocation& Where) {
    if (Text.size() > 0xFFFF)
        throw RcError(Where, "string " + std::to_string(Id) + " is longer than 65535 characters");
    auto Inserted = Strings.emplace(std::make_pair(Language, Id), StringEntry{Text, Where});
    if (!Inserted.second)
        throw RcError(Where, "duplicate string id " + std::to_string(Id) + " in language " +
                                 std::to_string(Language) + " (first defined at " +
                                 where(Inserted.first->second.Where) + ")");
}

void ResourceSet::claim(uint16_t Type, uint16_t Language, const ResourceName& Name,
                        const SourceLocation& Where) {
    auto Inserted = Defined.emplace(std::make_tuple(Type, Language, Name), Where);
    if (!Inserted.second)
        throw RcError(Where, std::string("duplicate ") + kindName(Type) + " " + describe(Name) +
                                 " in language " + std::to_string(Language) +
                                 " (first defined at " + where(Inserted.first->second) + ")");
}

void ResourceSet::addIcon(uint16_t Language, const ResourceName& Name,
                          const std::vector<IconImage>& Images, const SourceLocation& Where) {
    claim(ResourceTypeGroupIcon, Language, Name, Where);
    if (NextIconId + Images.size() > 0x10000)
        throw RcError(Where, "too many icon images (RT_ICON ids run out at 65535)");

    // The group directory: reserved (0), type (1), count, then per image 14 bytes: width,
    // height, colour count, reserved (always written as 0), planes, bit count, size and the
    // image's RT_ICON id. Planes and bit count left 0 in the file are filled in: planes 1, and
    // the bits needed for the colour count.
    Resource Group;
    Group.Type = ResourceTypeGroupIcon;
    Group.Name = Name;
    Group.Language = Language;
    appendWord(Group.Data, 0);
    appendWord(Group.Data, 1);
    appendWord(Group.Data, static_cast<uint32_t>(Images.size()));
    for (const IconImage& Image : Images) {
        uint16_t Planes = Image.Planes != 0 ? Image.Planes : 1;
        uint16_t Bits = Image.BitCount;
        if (Bits == 0)
            while ((1u << Bits) < Image.ColorCount)
                ++Bits;
        uint16_t Id = static_cast<uint16_t>(NextIconId++);
        Group.Data.push_back(Image.Width);
        Group.Data.push_back(Image.Height);
        Group.Data.push_back(Image.ColorCount);
        Group.Data.push_back(0);
        appendWord(Group.Data, Planes);
        appendWord(Group.Data, Bits);
        appendDword(Group.Data, static_cast<uint32_t>(Image.Data.size()));
        appendWord(Group.Data, Id);

        Resource Icon;
        Icon.Type = ResourceTypeIcon;
        Icon.Name.Id = Id;
        Icon.Language = Language;
        Icon.Data = Image.Data;
        Others.push_back(std::move(Icon));
    }
    Others.push_back(std::move(Group));
}

void ResourceSet::add(uint16_t Type, uint16_t Language, const ResourceName& Name,
                      std::vector<uint8_t> Data, const SourceLocation& Where) {
    claim(Type, Language, Name, Where);
    Others.push_back(Resource{Type, Name, Language, std::move(Data)});
}

std::vector<Resource> ResourceSet::resources() const {
    std::vector<Resource> All = Others;

    // String tables: block n (from 1) of a language holds strings 16(n-1) to 16n-1, each as a
    // length word and that many UTF-16 units, no terminator; absent strings have length 0.
    for (auto It = Strings.begin(); It != Strings.end();) {
        uint16_t Language = It->first.first;
        uint16_t Block = static_cast<uint16_t>(It->first.second >> 4);
        std::string Texts[16];
        for (;
             It != Strings.end() && It->first.first == Language && (It->first.second >> 4) == Block;
             ++It)
            Texts[It->first.second & 0xF] = It->second.Text;
        Resource R;
        R.Type = ResourceTypeString;
        R.Name.Id = static_cast<uint16_t>(Block + 1);
        R.Language = Language;
        for (const std::string& Text : Texts) {
            appendWord(R.Data, static_cast<uint32_t>(Text.size()));
            for (char C : Text)
                appendWord(R.Data, static_cast<unsigned char>(C));
        }
        All.push_back(std::move(R));
    }

    std::sort(All.begin(), All.end(), [](const Resource& A, const Resource& B) {
        if (A.Type != B.Type)
            return A.Type < B.Type;
        if (A.Name < B.Name || B.Name < A.Name)
            return A.Name < B.Name;
        return A.Language < B.Language;
    });
    return All;
}

} // namespace rc2c

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pure/ui/ZipWriter.h"
#include "ui/ZipArchive.h"

namespace {

using namespace zip_writer;

std::string Extracted(const CZipArchive& zip, const std::string& name, bool& ok) {
    Bytes content{'x'};
    ok = zip.Extract(name, content);
    return std::string(content.begin(), content.end());
}

const std::string kLayout = "<Window size=\"10,10\">" + std::string(300, ' ') + "<ComboUI name=\"x\"/></Window>";

TEST(ZipArchive, ReadsStoredAndDeflatedEntriesByName) {
    const std::vector<Member> members = {
        {"WeatherSetUI.xml", kLayout, true}, {"plain.txt", "stored text", false}, {"empty", "", true}};
    for (const std::string comment : {"", "a package comment"}) {
        CZipArchive zip;
        ASSERT_TRUE(zip.Open(MakeZip(members, comment)));
        EXPECT_EQ(zip.Names(), (std::vector<std::string>{"WeatherSetUI.xml", "plain.txt", "empty"}));
        for (const Member& m : members) {
            bool ok = false;
            EXPECT_EQ(Extracted(zip, m.name, ok), m.content) << m.name;
            EXPECT_TRUE(ok) << m.name;
        }
        bool ok = true;
        EXPECT_EQ(Extracted(zip, "weathersetui.xml", ok), "");
        EXPECT_FALSE(ok) << "names compare exactly";
    }
}

TEST(ZipArchive, RefusesWhatIsNotAZip) {
    const Bytes whole = MakeZip({{"a", "b", false}});
    for (const Bytes& bytes : {Bytes(), Bytes(21, 0), Bytes(whole.begin(), whole.end() - 1),
                               Bytes(whole.begin() + 1, whole.end()), Bytes(100, 'P')}) {
        CZipArchive zip;
        EXPECT_FALSE(zip.Open(bytes)) << bytes.size();
        EXPECT_TRUE(zip.Names().empty());
    }
}

// One damage to a one-entry archive each; the directory offsets follow MakeZip's layout.
TEST(ZipArchive, DamagedEntriesAreRefusedNotMisread) {
    const std::string name = "a.xml";
    const size_t local = 0, data = 30 + name.size();
    const struct {
        const char* what;
        bool deflate;
        std::function<void(Bytes&, size_t central, size_t end)> damage;
        bool opens;
    } cases[] = {
        {"a flipped data byte", true, [&](Bytes& b, size_t, size_t) { b[data + 3] ^= 0x55; }, true},
        {"a wrong checksum", false, [](Bytes& b, size_t c, size_t) { b[c + 16] ^= 1; }, true},
        {"a size one larger", true, [](Bytes& b, size_t c, size_t) { Set32(b, c + 24, Get32(b, c + 24) + 1); }, true},
        {"a size one smaller", true, [](Bytes& b, size_t c, size_t) { Set32(b, c + 24, Get32(b, c + 24) - 1); }, true},
        {"stored sizes that differ", false, [](Bytes& b, size_t c, size_t) { Set32(b, c + 20, 3); }, true},
        {"packed data past the end", true, [](Bytes& b, size_t c, size_t) { Set32(b, c + 20, 0x7FFFFFF0); }, true},
        {"a huge announced size", true,
         [](Bytes& b, size_t c, size_t) { Set32(b, c + 24, CZipArchive::kMaxEntrySize + 1); }, true},
        {"an unknown method", true, [](Bytes& b, size_t c, size_t) { b[c + 10] = 12; }, true},
        {"the encrypted flag", false, [](Bytes& b, size_t c, size_t) { b[c + 8] |= 1; }, true},
        {"a local offset past the end", false, [](Bytes& b, size_t c, size_t) { Set32(b, c + 42, 0xFFFFFF00); }, true},
        {"no local header there", false, [&](Bytes& b, size_t, size_t) { b[local] = 'X'; }, true},
        {"a local name length past the end", false, [&](Bytes& b, size_t, size_t) { b[local + 27] = 0xFF; }, true},
        {"more entries than the directory holds", false, [](Bytes& b, size_t, size_t e) { b[e + 8] = b[e + 10] = 2; },
         false},
        {"a directory past its end record", false,
         [](Bytes& b, size_t, size_t e) { Set32(b, e + 16, Get32(b, e + 16) + 8); }, false},
        {"a name running out of the directory", false, [](Bytes& b, size_t c, size_t) { b[c + 29] = 0x10; }, false},
        {"a second disk", false, [](Bytes& b, size_t, size_t e) { b[e + 4] = 1; }, false},
    };
    for (const auto& c : cases) {
        Bytes bytes = MakeZip({{name, kLayout, c.deflate}});
        const size_t end = bytes.size() - 22;
        c.damage(bytes, Get32(bytes, end + 16), end);
        CZipArchive zip;
        EXPECT_EQ(zip.Open(bytes), c.opens) << c.what;
        bool ok = true;
        EXPECT_EQ(Extracted(zip, name, ok), "") << c.what;
        EXPECT_FALSE(ok) << c.what;
    }
}

} // namespace

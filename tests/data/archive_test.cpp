#include "data/archive.h"
#include "data/byte_order.h"
#include "data/cipher.h"
#include "data/mg_file.h"
#include "data_test_support.h"

#include <cstring>

namespace {

Bytes Sample(std::size_t n, unsigned seed = 1) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 131 + seed * 7 + 3);
    }
    return bytes;
}

Bytes Pack(std::vector<ArchiveSource> sources, std::string_view maker = "Lumi") {
    BuiltArchive built = BuildArchive(std::move(sources), maker);
    EXPECT_EQ(built.error, "");
    return built.bytes;
}

class ArchiveTest : public DataTest {
protected:
    // Opens bytes (kept alive by the fixture) in a fresh file service.
    CMGFile& Open(Bytes bytes) {
        archive = std::move(bytes);
        files = std::make_unique<CMGFile>();
        EXPECT_EQ(files->OpenArchive(archive), 1);
        return *files;
    }
    Bytes Read(const char16_t* name) {
        DWORD size = 0;
        ByteBlock block(files->ReadAll(nullptr, name, &size));
        return block ? Bytes(block.get(), block.get() + size) : Bytes{};
    }

    Bytes archive;
    std::unique_ptr<CMGFile> files;
};

TEST_F(ArchiveTest, WriterFillsTheHeaderAndBuckets) {
    Bytes bytes = Pack({{u"b.wav", Sample(5)}, {u"a.mg", Sample(3)}, {u"ab.mg", Sample(2)}});
    ASSERT_GE(bytes.size(), 32u);
    EXPECT_EQ(std::memcmp(bytes.data(), "IDX2", 4), 0);
    EXPECT_EQ(LoadLe16(&bytes[4]), 0x0201);
    EXPECT_EQ(LoadLe16(&bytes[6]), 3);
    EXPECT_EQ(LoadLe32(&bytes[8]), bytes.size());
    EXPECT_EQ(LoadLe32(&bytes[12]), 32u + 1024 + 48 * 3);
    EXPECT_EQ(std::memcmp(&bytes[16], "Lumi\0\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
    EXPECT_EQ(LoadLe16(&bytes[32 + 4 * 'a']), 0); // first
    EXPECT_EQ(LoadLe16(&bytes[32 + 4 * 'a' + 2]), 2);
    EXPECT_EQ(LoadLe16(&bytes[32 + 4 * 'b']), 2);
    EXPECT_EQ(LoadLe16(&bytes[32 + 4 * 'b' + 2]), 1);

    CMGFile& f = Open(bytes);
    ASSERT_EQ(f.Entries().size(), 3u);
    EXPECT_EQ(f.Entries()[0].Name(), "a.mg");
    EXPECT_EQ(f.Entries()[1].Name(), "ab.mg");
    EXPECT_EQ(f.Entries()[2].Name(), "b.wav");
    EXPECT_EQ(f.Entries()[0].offset, 32u + 1024 + 48 * 3);
    EXPECT_EQ(Read(u"b.wav"), Sample(5));
    EXPECT_EQ(Read(u"ab.mg"), Sample(2));
}

TEST_F(ArchiveTest, NamesAreFoundExactlyAsStored) {
    Open(Pack({{u"Face.mg", Sample(4)}, {u"abcdefghijklmnopqrstuvwxyz01234", Sample(6)}}));
    EXPECT_NE(files->FindEntry(u"Face.mg"), nullptr);
    EXPECT_EQ(files->FindEntry(u"face.mg"), nullptr);
    EXPECT_EQ(files->FindEntry(u"FACE.MG"), nullptr);
    EXPECT_EQ(files->FindEntry(u"./Face.mg"), nullptr);
    EXPECT_EQ(files->FindEntry(u"dir/Face.mg"), nullptr);
    EXPECT_EQ(files->FindEntry(u"dir\\Face.mg"), nullptr);
    EXPECT_EQ(files->FindEntry(u" Face.mg"), nullptr);
    EXPECT_EQ(files->FindEntry(u""), nullptr);
    EXPECT_EQ(files->FindEntry(nullptr), nullptr);
    // 31 bytes is the longest name; 32 bytes or more is never found.
    EXPECT_NE(files->FindEntry(u"abcdefghijklmnopqrstuvwxyz01234"), nullptr);
    EXPECT_EQ(files->FindEntry(u"abcdefghijklmnopqrstuvwxyz012345"), nullptr);
    EXPECT_EQ(files->FindEntry(std::u16string(300, u'a').c_str()), nullptr);
}

TEST_F(ArchiveTest, NonAsciiNamesUseTheLowByteOfTheirFirstUnit) {
    // U+4E2D files under bucket 0x2D, the same as '-'.
    Bytes bytes = Pack({{u"中.mg", Sample(3)}, {u"-a.mg", Sample(4)}, {u"z.mg", Sample(5)}});
    EXPECT_EQ(LoadLe16(&bytes[32 + 4 * 0x2D + 2]), 2);
    Open(bytes);
    EXPECT_EQ(Read(u"中.mg"), Sample(3));
    EXPECT_EQ(Read(u"-a.mg"), Sample(4));

    // Filed under the first byte of its UTF-8 form (0xE4) instead: not found.
    Bytes misfiled = bytes;
    std::memset(&misfiled[32 + 4 * 0x2D], 0, 4);
    StoreLe16(&misfiled[32 + 4 * 0xE4], 0);
    StoreLe16(&misfiled[32 + 4 * 0xE4 + 2], 2);
    Open(misfiled);
    EXPECT_EQ(files->FindEntry(u"中.mg"), nullptr);
}

TEST_F(ArchiveTest, EveryScramblingMethodIsUndone) {
    for (std::uint32_t method = 0; method <= 3; ++method) {
        for (std::size_t size : {0u, 1u, 7u, 8u, 13u, 64u, 1000u}) {
            Bytes plain = Sample(size, method);
            Open(Pack({{u"x.bin", plain, method}}, "Maker16BytesLong"));
            SCOPED_TRACE(testing::Message() << "method " << method << " size " << size);
            EXPECT_EQ(files->Entries()[0].Method(), method);
            EXPECT_EQ(Read(u"x.bin"), plain);
            const ArchiveEntry& entry = files->Entries()[0];
            Bytes stored(archive.begin() + entry.offset, archive.begin() + entry.offset + size);
            if (method != 0 && size >= 8) {
                EXPECT_NE(stored, plain);
            }
            if (method == 3) {
                // Bytes past the last whole block stay as they are.
                std::size_t whole = size / 8 * 8;
                EXPECT_TRUE(
                    std::equal(stored.begin() + whole, stored.end(), plain.begin() + whole));
            }
        }
    }
}

TEST_F(ArchiveTest, MethodsFollowTheirDefinitions) {
    Bytes plain = Sample(24);
    Open(Pack({{u"k", plain, 1}, {u"x", plain, 2}, {u"b", plain, 3}}, "key"));
    auto stored = [&](const char16_t* name) {
        const ArchiveEntry* e = files->FindEntry(name);
        return Bytes(archive.begin() + e->offset, archive.begin() + e->offset + e->size);
    };
    Bytes expected = plain;
    ApplyKeyStream(24 / 8, expected);
    EXPECT_EQ(stored(u"k"), expected);
    expected = plain;
    for (auto& b : expected) {
        b ^= 0xAA;
    }
    EXPECT_EQ(stored(u"x"), expected);
    expected = plain;
    BlowfishKey(std::span(reinterpret_cast<const std::uint8_t*>("key"), 3)).Encipher(expected);
    EXPECT_EQ(stored(u"b"), expected);
}

TEST_F(ArchiveTest, AnEmptyMakerNameStillKeysMethodThree) {
    Bytes plain = Sample(40);
    Open(Pack({{u"b", plain, 3}}, ""));
    EXPECT_EQ(Read(u"b"), plain);
}

TEST_F(ArchiveTest, ReadHeadDeliversThePrefixOfAWholeRead) {
    for (std::uint32_t method = 0; method <= 3; ++method) {
        Bytes plain = Sample(21, method);
        Open(Pack({{u"h", plain, method}}));
        for (DWORD n = 0; n <= 26; ++n) {
            ByteBlock head(files->ReadHead(nullptr, u"h", n));
            ASSERT_NE(head, nullptr);
            std::size_t defined = std::min<std::size_t>(n, plain.size());
            EXPECT_TRUE(std::equal(head.get(), head.get() + defined, plain.begin()))
                << "method " << method << " n " << n;
        }
    }
}

TEST_F(ArchiveTest, AnEntryReachingOutsideTheArchiveIsNotFound) {
    Bytes bytes = Pack({{u"a", Sample(10)}, {u"b", Sample(10)}, {u"c", Sample(10)}});
    std::size_t table = 32 + 1024;
    StoreLe32(&bytes[table + 4], 11 + 20);          // a: size one byte too long
    StoreLe32(&bytes[table + 48], 0xFFFFFFF0u);     // b: offset far out
    StoreLe32(&bytes[table + 96 + 4], 0xFFFFFFFFu); // c: offset + size wraps
    Open(bytes);
    for (const char16_t* name : {u"a", u"b", u"c"}) {
        EXPECT_EQ(files->FindEntry(name), nullptr);
        EXPECT_EQ(files->Exists(nullptr, name), 0);
        DWORD size = 99;
        EXPECT_EQ(files->ReadAll(nullptr, name, &size), nullptr);
        EXPECT_EQ(size, 99u);
    }
    EXPECT_EQ(platform.MessageBoxes().size(), 3u);
}

TEST_F(ArchiveTest, TruncatedTablesLeaveNoArchive) {
    Bytes bytes = Pack({{u"a", Sample(3)}, {u"b", Sample(3)}});
    CMGFile f;
    for (std::size_t cut : {std::size_t{0}, std::size_t{31}, std::size_t{32}, std::size_t{1055},
                            std::size_t{1056}, std::size_t{1056 + 95}}) {
        Bytes shortBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_EQ(f.OpenArchive(shortBytes), 0) << cut;
        EXPECT_FALSE(f.HasArchive());
        EXPECT_EQ(f.FindEntry(u"a"), nullptr);
    }
    // The tables whole and the data cut: the archive opens, the cut entry is
    // not found.
    Bytes noData(bytes.begin(), bytes.begin() + 1056 + 96 + 3);
    EXPECT_EQ(f.OpenArchive(noData), 1);
    EXPECT_NE(f.FindEntry(u"a"), nullptr);
    EXPECT_EQ(f.FindEntry(u"b"), nullptr);
}

TEST_F(ArchiveTest, BucketsPointingPastTheTableAreCut) {
    Bytes bytes = Pack({{u"a", Sample(3)}});
    StoreLe16(&bytes[32 + 4 * 'a'], 0);
    StoreLe16(&bytes[32 + 4 * 'a' + 2], 0xFFFF);
    StoreLe16(&bytes[32 + 4 * 'q'], 0xFFF0);
    StoreLe16(&bytes[32 + 4 * 'q' + 2], 0x00FF);
    Open(bytes);
    EXPECT_EQ(Read(u"a"), Sample(3));
    EXPECT_EQ(files->FindEntry(u"q"), nullptr);
}

TEST_F(ArchiveTest, AStoredNameWithoutTerminatorNeverMatches) {
    Bytes bytes = Pack({{u"abcdefghijklmnopqrstuvwxyz01234", Sample(3)}});
    bytes[32 + 1024 + 16 + 31] = 'Z'; // all 32 name bytes used
    Open(bytes);
    EXPECT_EQ(files->Entries()[0].Name().size(), 32u);
    EXPECT_EQ(files->FindEntry(u"abcdefghijklmnopqrstuvwxyz01234"), nullptr);
}

TEST_F(ArchiveTest, WriterRejectsWhatTheFormatCannotHold) {
    EXPECT_NE(BuildArchive({{u"", {}}}, "").error, "");
    EXPECT_NE(BuildArchive({{std::u16string(32, u'n'), {}}}, "").error, "");
    EXPECT_NE(BuildArchive({{u"中中中中中中中中中中中", {}}}, "").error, ""); // 33 bytes
    EXPECT_EQ(BuildArchive({{u"中中中中中中中中中中", {}}}, "").error, "");   // 30 bytes
    EXPECT_NE(BuildArchive({{u"a", {}}, {u"a", {}}}, "").error, "");
    EXPECT_NE(BuildArchive({}, "seventeen bytes!!").error, "");
    EXPECT_EQ(BuildArchive({}, "sixteen bytes!!!").error, "");
}

} // namespace

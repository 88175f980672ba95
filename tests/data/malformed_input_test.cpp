// Random and damaged inputs to every reader: they may load nothing or
// garbage, but never read or write out of bounds (run under ASan/UBSan).
#include "data/archive.h"
#include "data/encrypt_data.h"
#include "data/mg_database.h"
#include "data/mg_file.h"
#include "data/tab_database.h"
#include "data_test_support.h"

namespace {

// A small deterministic generator, so failures reproduce.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : Next() % n; }
    Bytes Buffer(std::size_t maxSize, std::string_view alphabet = {}) {
        Bytes bytes(Below(maxSize + 1));
        for (std::uint8_t& b : bytes) {
            b = alphabet.empty() ? static_cast<std::uint8_t>(Next())
                                 : static_cast<std::uint8_t>(alphabet[Below(alphabet.size())]);
        }
        return bytes;
    }
    // Flips, cuts or extends a valid input.
    Bytes Damage(Bytes bytes) {
        switch (Below(3)) {
        case 0:
            for (int i = 0, n = static_cast<int>(Below(4)) + 1; i < n && !bytes.empty(); ++i) {
                bytes[Below(bytes.size())] ^= static_cast<std::uint8_t>(1 << Below(8));
            }
            break;
        case 1:
            bytes.resize(Below(bytes.size()));
            break;
        default:
            for (int i = 0, n = static_cast<int>(Below(8)); i < n && !bytes.empty(); ++i) {
                bytes[Below(bytes.size())] = static_cast<std::uint8_t>(Next());
            }
        }
        return bytes;
    }

private:
    std::uint32_t state_;
};

void ReadEveryEntry(CMGFile& files) {
    for (const ArchiveEntry& entry : files.Entries()) {
        std::u16string name(entry.Name().begin(), entry.Name().end());
        if (const ArchiveEntry* found = files.FindEntry(name.c_str())) {
            Bytes out(found->size + 3);
            files.ReadEntry(*found, out.data(), out.size());
            files.ReadEntry(*found, out.data(), found->size / 2);
        }
    }
}

class MalformedInputTest : public DataTest {};

TEST_F(MalformedInputTest, Tables) {
    Random random(7);
    CTabDataBase table;
    const std::string_view alphabet("\t\r\n\0\xFF\xFE"
                                    "ab\x4C",
                                    9);
    for (int i = 0; i < 3000; ++i) {
        Bytes bytes = i % 2 == 0 ? random.Buffer(200) : random.Buffer(200, alphabet);
        table.readFormat = i % 4;
        table.LoadBytes(bytes);
        if (table.IsCreated()) {
            for (int r = 0; r < table.Rows(); ++r) {
                for (int c = 0; c < table.Columns(); ++c) {
                    table.GetCell(r, c);
                }
            }
        }
    }
}

TEST_F(MalformedInputTest, Containers) {
    Random random(11);
    CMGEncryptData writer;
    Bytes valid = writer.Seal("0101\tNew Year\r\n", u"/x/sch.dat");
    for (int i = 0; i < 2000; ++i) {
        CMGEncryptData reader;
        reader.Open(i % 3 == 0 ? random.Buffer(80) : random.Damage(valid));
        CTabDataBase table;
        table.readFormat = CTabDataBase::kScrambled;
        table.LoadBytes(random.Damage(valid));
        EXPECT_TRUE(table.IsCreated());
    }
}

TEST_F(MalformedInputTest, SettingsStores) {
    Random random(13);
    const std::string_view alphabet("[]\"=;, \t\r\nab1.f-\x81\xB1", 19);
    std::string text = "[LumiClock]\r\nAlermHour0=7\r\nScale=1.5f\r\nName=\"a b\"\r\n";
    Bytes validText(text.begin(), text.end());
    for (int i = 0; i < 3000; ++i) {
        Bytes bytes;
        switch (i % 4) {
        case 0:
            bytes = random.Buffer(200);
            break;
        case 1:
            bytes = random.Buffer(200, alphabet);
            break;
        case 2:
            bytes = random.Damage(validText);
            break;
        default:
            bytes = random.Buffer(200);
            if (!bytes.empty()) {
                bytes[0] = 'B'; // the binary form
            }
        }
        CMGDataBase store;
        store.Load(bytes.data(), bytes.size());
        for (const auto& [key, value] : store.Entries()) {
            store.GetInt(key.c_str(), 0);
            store.GetString(key.c_str());
        }
    }
}

TEST_F(MalformedInputTest, Archives) {
    Random random(17);
    Bytes valid = BuildArchive({{u"a.mg", Bytes(40, 1), 0},
                                {u"b.wav", Bytes(13, 2), 1},
                                {u"c.txt", Bytes(9, 3), 2},
                                {u"d.bin", Bytes(21, 4), 3}},
                               "maker")
                      .bytes;
    for (int i = 0; i < 2000; ++i) {
        Bytes bytes = i % 4 == 0 ? random.Buffer(1400) : random.Damage(valid);
        if (i % 4 == 1 && bytes.size() >= 32 + 1024 + 48 * 4) {
            // Damage the tables, where it matters most.
            for (int k = 0; k < 6; ++k) {
                bytes[32 + random.Below(1024 + 48 * 4)] = static_cast<std::uint8_t>(random.Next());
            }
        }
        CMGFile files;
        files.OpenArchive(bytes);
        ReadEveryEntry(files);
        files.FindEntry(u"d.bin");
    }
}

} // namespace

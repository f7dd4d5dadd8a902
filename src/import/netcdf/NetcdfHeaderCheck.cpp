#include "import/netcdf/NetcdfHeaderCheck.h"

#include <cstdint>
#include <fstream>

#include "base/Format.h"

namespace kiv {

namespace {

constexpr uint64_t kDimensionTag = 0x0A, kVariableTag = 0x0B, kAttributeTag = 0x0C;
constexpr uint64_t kAlignment = 4;

// The bytes one value of an external type takes; 0 for a type no version knows.
uint64_t TypeSize(uint64_t type)
{
    switch (type) {
    case 1: case 2: case 7: return 1;  // byte, char, unsigned byte
    case 3: case 8: return 2;          // short, unsigned short
    case 4: case 5: case 9: return 4;  // int, float, unsigned int
    case 6: case 10: case 11: return 8;  // double, 64-bit integers
    default: return 0;
    }
}

uint64_t Padded(uint64_t bytes)
{
    return (bytes + kAlignment - 1) / kAlignment * kAlignment;
}

// Reads the header's big-endian fields in order; the first fault stops every later step.
class CHeaderWalk {
public:
    CHeaderWalk(std::ifstream& in, uint64_t size, int version) : in_(in), size_(size), version_(version) {}

    const std::string& Fault() const { return fault_; }
    bool Failed() const { return !fault_.empty(); }

    void Walk()
    {
        Skip(4);  // magic
        Skip(version_ == 5 ? 8 : 4);  // record count
        List(kDimensionTag, 8, [this] { Dimension(); });
        Attributes();
        List(kVariableTag, 24, [this] { Variable(); });
    }

private:
    uint64_t Remaining() const { return position_ <= size_ ? size_ - position_ : 0; }

    void Fail(const char* what)
    {
        if (fault_.empty()) fault_ = Format("damaged header at byte %llu: %s", static_cast<unsigned long long>(position_), what);
    }

    uint64_t Number(int bytes)
    {
        if (Failed()) return 0;
        if (Remaining() < static_cast<uint64_t>(bytes)) {
            Fail("the file ends inside the header");
            return 0;
        }
        unsigned char raw[8] = {};
        in_.read(reinterpret_cast<char*>(raw), bytes);
        position_ += static_cast<uint64_t>(bytes);
        uint64_t value = 0;
        for (int k = 0; k < bytes; ++k) value = value << 8 | raw[k];
        return value;
    }

    // A count in the version's width (8 bytes in version 5, else 4).
    uint64_t Count() { return Number(version_ == 5 ? 8 : 4); }

    void Skip(uint64_t bytes)
    {
        if (Failed()) return;
        if (Remaining() < bytes) {
            Fail("the file ends inside the header");
            return;
        }
        position_ += bytes;
        in_.seekg(static_cast<std::streamoff>(position_));
    }

    // Refuses a count of items that cannot fit into the rest of the file, each taking at least
    // minimumBytes.
    bool Fits(uint64_t count, uint64_t minimumBytes, const char* what)
    {
        if (Failed()) return false;
        if (count > Remaining() / minimumBytes) {
            Fail(what);
            return false;
        }
        return true;
    }

    template <typename Item>
    void List(uint64_t tag, uint64_t minimumItemBytes, Item item)
    {
        const uint64_t found = Number(4);
        const uint64_t count = Count();
        if (Failed()) return;
        if (found == 0 && count == 0) return;  // absent
        if (found != tag) return Fail("a list tag is wrong");
        if (!Fits(count, minimumItemBytes, "more items than the file holds")) return;
        for (uint64_t k = 0; k < count && !Failed(); ++k) item();
    }

    void Name()
    {
        const uint64_t length = Count();
        if (Fits(length, 1, "a name longer than the file")) Skip(Padded(length));
    }

    void Dimension()
    {
        Name();
        Count();  // length
    }

    void Attribute()
    {
        Name();
        const uint64_t bytes = TypeSize(Number(4));
        if (!Failed() && bytes == 0) return Fail("an attribute of unknown type");
        const uint64_t values = Count();
        if (Fits(values, bytes, "attribute values beyond the end of the file")) Skip(Padded(values * bytes));
    }

    void Attributes() { List(kAttributeTag, 12, [this] { Attribute(); }); }

    void Variable()
    {
        Name();
        const uint64_t dimensions = Count();
        const uint64_t idBytes = version_ == 5 ? 8 : 4;
        if (Fits(dimensions, idBytes, "more dimensions than the file holds")) Skip(dimensions * idBytes);
        Attributes();
        if (!Failed() && TypeSize(Number(4)) == 0) return Fail("a variable of unknown type");
        Count();  // size
        Skip(version_ == 1 ? 4 : 8);  // begin
    }

    std::ifstream& in_;
    uint64_t size_;
    int version_;
    uint64_t position_ = 0;
    std::string fault_;
};

}  // namespace

std::string ClassicHeaderFault(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char magic[4] = {};
    if (!in.read(magic, 4) || magic[0] != 'C' || magic[1] != 'D' || magic[2] != 'F') return {};
    const int version = magic[3];
    if (version != 1 && version != 2 && version != 5) return {};
    in.seekg(0, std::ios::end);
    const auto size = static_cast<uint64_t>(in.tellg());
    in.seekg(0);
    CHeaderWalk walk(in, size, version);
    walk.Walk();
    return walk.Fault();
}

}  // namespace kiv

#include <gtest/gtest.h>

#include <cmath>

#include "LibraryTestData.h"
#include "TestSupport.h"
#include "base/Format.h"
#include "library/BibRecords.h"

using namespace kiv;
using kiv::test::CBytes;

namespace {

template <class Writer>
std::string Encode(Writer write)
{
    std::string bytes;
    CByteWriter out(bytes);
    write(out);
    return bytes;
}

}  // namespace

TEST(BibRecords, HeaderBytes)
{
    CBibHeader header;
    header.title = "T";
    header.typ = "MS";
    header.blockCount = 3;
    header.comment2 = "c";
    header.vector.Alloc(1, 2);
    header.vector.Set(1, 1, 1.9);  // truncated toward zero
    header.vector.Set(1, 2, 70000);
    const std::string expected =
        CBytes().I32(33).Text("H").I32(0).Str("T").Str("MS").I32(3).Str("").Str("c").I32(2).I32(1).I32(70000).bytes;
    EXPECT_EQ(HeaderRecordLength(header), 33);
    const std::string bytes = Encode([&](CByteWriter& out) { WriteHeaderRecord(out, header); });
    EXPECT_EQ(bytes, expected);

    CBibHeader back;
    CByteReader in(bytes);
    ASSERT_TRUE(ReadHeaderRecord(in, back));
    EXPECT_EQ(back.title, "T");
    EXPECT_EQ(back.typ, "MS");
    EXPECT_EQ(back.blockCount, 3);
    EXPECT_EQ(back.comment2, "c");
    EXPECT_EQ(back.vector.Cols(), 2);
    EXPECT_EQ(back.vector.Get(1, 1), 1.0);
}

TEST(BibRecords, StringsAreCutAt255Bytes)
{
    const std::string exact(255, 'a');
    const std::string longer(300, 'b');
    EXPECT_EQ(Encode([&](CByteWriter& out) { WriteBibString(out, exact); }), std::string(1, '\xff') + exact);
    EXPECT_EQ(Encode([&](CByteWriter& out) { WriteBibString(out, longer); }), std::string(1, '\xff') + std::string(254, 'b') + "#");

    // The cut title is also what the header length counts.
    CBibHeader header;
    header.title = longer;
    const std::string bytes = Encode([&](CByteWriter& out) { WriteHeaderRecord(out, header); });
    EXPECT_EQ(HeaderRecordLength(header), 21 + 255);
    EXPECT_EQ(static_cast<int64_t>(bytes.size()), HeaderRecordLength(header));
    EXPECT_EQ(bytes.substr(9, 256), std::string(1, '\xff') + std::string(254, 'b') + "#");
}

TEST(BibRecords, NameBytes)
{
    CBibName name;
    name.empty = 0;
    name.cas = 64175;
    name.nominalMW = 46;
    name.mw = 46.0684;  // 460683.99999999994 before truncation: taken as the integer it means
    name.mass2 = 0.00019;
    name.formula = "C2H6O";
    name.origin = "NIST";
    name.originNumber = 7;
    name.name = "ethanol";
    const std::string expected = CBytes()
                                     .I32(52).Text("N").I32(49)
                                     .I32(64175).I32(46).I32(460684).I32(1)
                                     .Str("C2H6O").Str("NIST").I32(7).Str("ethanol").I32(0)
                                     .bytes;
    EXPECT_EQ(NameRecordLength(name), 52);
    const std::string bytes = Encode([&](CByteWriter& out) { WriteNameRecord(out, name, 49); });
    EXPECT_EQ(bytes, expected);

    CBibName back;
    CByteReader in(bytes);
    ASSERT_TRUE(ReadNameRecord(in, back));
    EXPECT_EQ(back.empty, 0);
    EXPECT_NEAR(back.mw, 46.0684, 1e-9);
    EXPECT_EQ(back.name, "ethanol");
    EXPECT_EQ(back.originNumber, 7);
    // Written again, the weight gives the same field (no drift from copy to copy).
    EXPECT_EQ(Encode([&](CByteWriter& out) { WriteNameRecord(out, back, 49); }).substr(0, 25),
              Encode([&](CByteWriter& out) { WriteNameRecord(out, name, 49); }).substr(0, 25));
}

TEST(BibRecords, StructureBondWidthSwitchesAt256Atoms)
{
    const std::string bytes = Encode([&](CByteWriter& out) { WriteStructureRecord(out, test::Ethanol(), 101); });
    const std::string expected = CBytes()
                                     .I32(13 + 60 + 12).Text("S").I32(101).I16(3).I16(2)
                                     .I8(6).I8(6).I8(8)  // elements
                                     .I8(13).I8(0).I8(0)  // isotopes
                                     .I8(0).I8(0).I8(-1)  // charges
                                     .I8(0).I8(0).I8(0)  // radicals
                                     .I8(4).I8(3).I8(2)  // hydrogen codes
                                     .I8(0).I8(0).I8(0)  // spare
                                     .I16(0).I16(0).I16(0)
                                     .I32(0).I32(0x3fc00000).I32(0x40100000)  // x 0, 1.5, 2.25
                                     .I32(0).I32(0x3f000000).I32(0xbf400000)  // y 0, 0.5, -0.75
                                     .I32(0).I32(0).I32(0)  // z
                                     .I8(1).I8(2).I8(2).I8(3)  // bond ends as bytes
                                     .I8(1).I8(1).I8(0).I8(1)  // orders, stereo
                                     .I16(0).I16(0)
                                     .bytes;
    EXPECT_EQ(bytes, expected);

    for (int atoms : {255, 256}) {
        CMolecule chain;
        chain.Allocate(atoms, atoms - 1);
        for (int i = 0; i < atoms; ++i) chain.element[static_cast<size_t>(i)] = 6;
        for (int i = 0; i < atoms - 1; ++i) {
            chain.bondFrom[static_cast<size_t>(i)] = static_cast<uint16_t>(i + 1);
            chain.bondTo[static_cast<size_t>(i)] = static_cast<uint16_t>(i + 2);
            chain.bondOrder[static_cast<size_t>(i)] = 1;
        }
        const int bonds = atoms - 1;
        const int64_t length = 13 + 20 * atoms + (atoms <= 255 ? 6 : 8) * bonds;
        EXPECT_EQ(StructureRecordLength(chain), length);
        const std::string s = Encode([&](CByteWriter& out) { WriteStructureRecord(out, chain, 49); });
        ASSERT_EQ(static_cast<int64_t>(s.size()), length);
        const size_t bondStart = 13 + 20 * static_cast<size_t>(atoms);
        if (atoms == 255) {
            EXPECT_EQ(s.substr(bondStart, 2), CBytes().I8(1).I8(2).bytes);
            EXPECT_EQ(static_cast<unsigned char>(s[bondStart + bonds + bonds - 1]), 255);  // last "to" atom
        } else {
            EXPECT_EQ(s.substr(bondStart, 4), CBytes().I16(1).I16(2).bytes);
            EXPECT_EQ(s.substr(bondStart + 4 * bonds - 2, 2), CBytes().I16(256).bytes);
        }
        CMolecule back;
        CByteReader in(s);
        ASSERT_TRUE(ReadStructureRecord(in, back));
        EXPECT_EQ(back.atomCount, atoms);
        EXPECT_EQ(back.bondTo, chain.bondTo);
        EXPECT_EQ(back.element, chain.element);
    }
}

TEST(BibRecords, MassSpectrumEncodings)
{
    // Vector form, first = last: one value.
    CMassSpectrum one = test::VectorSpectrum(43, 43, {{43, 100}});
    one.basePeakMass = 43;
    one.basePeakIntensity = 5000;
    one.tic = 7;
    one.retentionTime = 12.3456;
    one.comment = "x";
    std::string bytes = Encode([&](CByteWriter& out) { EXPECT_TRUE(WriteMassRecord(out, one, 49)); });
    std::string expected = CBytes()
                               .I32(37 + 2 + 1).Text("M").I32(49).I8(0).I16(1).I16(43).I16(43)
                               .I16(10000).I16(43)
                               .I32(5000).I32(7).I32(12346).I16(0).I32(0).Str("x")
                               .bytes;
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(MassRecordLength(one), 40);

    // P = 20: integer masses in 16 bits; the intensity is rounded to hundredths of a percent.
    CMassSpectrum p20 = test::PeakSpectrum(2, 0, {{41, 12.344}, {43, 100}});
    p20.retentionIndex = 1234.5;
    bytes = Encode([&](CByteWriter& out) { EXPECT_TRUE(WriteMassRecord(out, p20, 49)); });
    expected = CBytes()
                   .I32(31 + 2 * 4 + 2).Text("M").I32(49).I8(20).I16(2)
                   .I16(41).I16(43).I16(1234).I16(10000).I16(43)
                   .I32(0).I32(0).I32(-1234500).I16(0).I32(0).Str("")
                   .bytes;
    EXPECT_EQ(bytes, expected);

    // P = 82: two decimals in 64-bit masses.
    CMassSpectrum p82 = test::PeakSpectrum(8, 2, {{43.05, 100}, {57.07, 30}});
    bytes = Encode([&](CByteWriter& out) { EXPECT_TRUE(WriteMassRecord(out, p82, 49)); });
    EXPECT_EQ(MassRecordLength(p82), 31 + 2 * 10 + 8);
    EXPECT_EQ(bytes.substr(9, 3), CBytes().I8(82).I16(2).bytes);
    EXPECT_EQ(bytes.substr(12, 16), CBytes().I64(4305).I64(5707).bytes);
    EXPECT_EQ(bytes.substr(32, 8), CBytes().I64(4305).bytes);

    CMassSpectrum back;
    CByteReader in(bytes);
    ASSERT_TRUE(ReadMassRecord(in, back));
    EXPECT_EQ(back.isVector, 0);
    EXPECT_EQ(back.nbyte, 8);
    EXPECT_EQ(back.ndec, 2);
    EXPECT_DOUBLE_EQ(back.peaks.Get(1, 2), 57.07);
    EXPECT_DOUBLE_EQ(back.peaks.Get(2, 2), 30);

    // A negative mass (damaged data) is rounded, not truncated: copies do not drift.
    CMassSpectrum negative = test::PeakSpectrum(8, 2, {{-5.0, 100}});
    bytes = Encode([&](CByteWriter& out) { EXPECT_TRUE(WriteMassRecord(out, negative, 49)); });
    EXPECT_EQ(bytes.substr(12, 8), CBytes().I64(-500).bytes);
    CMassSpectrum negativeBack;
    CByteReader negativeIn(bytes);
    ASSERT_TRUE(ReadMassRecord(negativeIn, negativeBack));
    EXPECT_EQ(Encode([&](CByteWriter& out) { WriteMassRecord(out, negativeBack, 49); }), bytes);

    // 4-byte masses with three decimals.
    CMassSpectrum p43 = test::PeakSpectrum(4, 3, {{31.018, 100}});
    bytes = Encode([&](CByteWriter& out) { EXPECT_TRUE(WriteMassRecord(out, p43, 49)); });
    EXPECT_EQ(bytes.substr(9, 7), CBytes().I8(43).I16(1).I32(31018).bytes);

    // A width the format cannot hold is refused.
    CMassSpectrum wrong = test::PeakSpectrum(3, 0, {{43, 100}});
    test::CRecordingReporter reporter;
    std::string out;
    CByteWriter writer(out);
    EXPECT_FALSE(WriteMassRecord(writer, wrong, 49));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], "Error in nbyte 3");
}

TEST(BibRecords, RetentionValues)
{
    EXPECT_EQ(EncodeRetention(0, 0), 0);
    EXPECT_EQ(EncodeRetention(12.3456, 900), 12346);  // the time wins
    EXPECT_EQ(EncodeRetention(0, 1234.5), -1234500);
    EXPECT_EQ(EncodeRetention(-1, 0.0004), 0);
    double rt = -1, ri = -1;
    DecodeRetention(0, rt, ri);
    EXPECT_EQ(rt, 0);
    EXPECT_EQ(ri, 0);
    DecodeRetention(-1234500, rt, ri);
    EXPECT_EQ(rt, 0);
    EXPECT_DOUBLE_EQ(ri, 1234.5);
    // A retention index survives any number of copies.
    EXPECT_EQ(EncodeRetention(rt, ri), -1234500);
    DecodeRetention(INT32_MIN, rt, ri);
    EXPECT_DOUBLE_EQ(ri, 2147483.648);
}

TEST(BibRecords, InfraredPointsStayByteFaithful)
{
    for (int width : {1, 2, 4, 8}) {
        CIrSpectrum ir;
        ir.empty = 0;
        ir.kind = 9;
        ir.pointWidth = static_cast<uint8_t>(width);
        ir.axis[1] = -5;
        ir.scale = 655.35f;
        ir.text1 = "a";
        ir.reserved = 42;
        ir.text2.append("bc");
        switch (width) {
        case 1: ir.points = {0, 255, 7}; break;
        case 2: ir.points = {0, 65535, 7}; break;
        case 4: ir.points = {0, 4294967295LL, 7}; break;
        default: ir.points = {INT64_MIN, (int64_t(1) << 53) + 1, -7}; break;
        }
        const std::string bytes = Encode([&](CByteWriter& out) { EXPECT_TRUE(WriteInfraredRecord(out, ir, 49)); });
        EXPECT_EQ(static_cast<int64_t>(bytes.size()), 38 + 3 * width + 1 + 2);
        EXPECT_EQ(InfraredRecordLength(ir), static_cast<int64_t>(bytes.size()));
        CIrSpectrum back;
        CByteReader in(bytes);
        ASSERT_TRUE(ReadInfraredRecord(in, back));
        EXPECT_EQ(back.points, ir.points);
        EXPECT_EQ(Encode([&](CByteWriter& out) { WriteInfraredRecord(out, back, 49); }), bytes) << width;
    }
    // Every stored scale comes back as the same field.
    for (int u = 0; u <= 65535; ++u) {
        CIrSpectrum ir;
        ir.scale = static_cast<float>(u * 0.01);
        const std::string bytes = Encode([&](CByteWriter& out) { WriteInfraredRecord(out, ir, 0); });
        ASSERT_EQ(static_cast<unsigned char>(bytes[30]) | (static_cast<unsigned char>(bytes[31]) << 8), u);
    }

    test::CRecordingReporter reporter;
    CIrSpectrum bad;
    bad.pointWidth = 3;
    std::string out;
    CByteWriter writer(out);
    EXPECT_FALSE(WriteInfraredRecord(writer, bad, 49));
    EXPECT_EQ(reporter.messages.at(0), "IR illegal nbyte value 3");
}

TEST(BibRecords, SupplementaryTypes)
{
    CSupData sup;
    sup.empty = 0;
    CSupItem item{"n", "uint32", CMatrix(2, 2)};
    item.values.Set(1, 1, 4294967295.0);
    item.values.Set(1, 2, 1.9);
    item.values.Set(2, 1, -3);  // below the type: saturates at 0
    item.values.Set(2, 2, 5);
    sup.items.push_back(item);
    sup.items.push_back(CSupItem{"c", "char", CMatrix(1, 1)});
    sup.items[1].values.Set(1, 1, -2.7);
    const std::string expected = CBytes()
                                     .I32(10 + (2 + 7 + 4 + 16) + (2 + 5 + 4 + 1)).Text("Z").I32(49).I8(2)
                                     .Str("n").Str("uint32").I16(2).I16(2)
                                     .I32(4294967295LL).I32(1).I32(0).I32(5)
                                     .Str("c").Str("char").I16(1).I16(1).I8(-2)
                                     .bytes;
    EXPECT_EQ(SupRecordLength(sup), static_cast<int64_t>(expected.size()));
    const std::string bytes = Encode([&](CByteWriter& out) { EXPECT_TRUE(WriteSupRecord(out, sup, 49)); });
    EXPECT_EQ(bytes, expected);

    for (const char* type : {"char", "uint8", "uint16", "uint32", "int8", "int16", "int32", "int64", "float32", "float64"}) {
        EXPECT_GT(SupTypeSize(type), 0) << type;
    }
    EXPECT_EQ(SupTypeSize("Float32"), 0);
    EXPECT_EQ(SupTypeSize("float"), 0);

    test::CRecordingReporter reporter;
    sup.items[1].type = "double";
    std::string out;
    CByteWriter writer(out);
    EXPECT_FALSE(WriteSupRecord(writer, sup, 49));
    EXPECT_EQ(reporter.messages.at(0), "Sup Record illegal data type double");
    EXPECT_TRUE(out.empty());
}

TEST(BibRecords, DecodersRejectDamagedRecords)
{
    test::CRecordingReporter reporter;
    auto decodeMass = [&](const std::string& bytes) {
        CMassSpectrum s;
        CByteReader in(bytes);
        return ReadMassRecord(in, s);
    };
    // Mass parameter in the gap 1..19.
    EXPECT_FALSE(decodeMass(CBytes().I32(40).Text("M").I32(49).I8(5).I16(0).Text(std::string(28, '\0')).bytes));
    // A peak count far beyond the bytes of the record.
    EXPECT_FALSE(decodeMass(CBytes().I32(40).Text("M").I32(49).I8(20).I16(60000).Text(std::string(28, '\0')).bytes));
    // A vector whose count disagrees with its mass range.
    EXPECT_FALSE(decodeMass(CBytes().I32(41).Text("M").I32(49).I8(0).I16(2).I16(40).I16(42).I16(1).I16(1).Text(std::string(20, '\0')).bytes));
    // A comment longer than what is left.
    EXPECT_FALSE(decodeMass(CBytes().I32(39).Text("M").I32(49).I8(0).I16(1).I16(1).I16(1).I16(1).I16(1).Text(std::string(18, '\0')).I8(9).bytes));
    // Wrong type letter.
    EXPECT_FALSE(decodeMass(CBytes().I32(40).Text("Q").I32(49).I8(0).Text(std::string(31, '\0')).bytes));
    ASSERT_EQ(reporter.messages.size(), 5u);
    EXPECT_EQ(reporter.messages[0], "MS mass-parameter wrong 5");
    EXPECT_EQ(reporter.messages[1], "MS Record length 40 is too short for its contents");
    EXPECT_EQ(reporter.messages[2], "MS Record holds 2 values for masses 40 to 42");
    EXPECT_EQ(reporter.messages[3], "MS Record length 39 is too short for its contents");
    EXPECT_EQ(reporter.messages[4], "MS Record Typ is Q not M");

    reporter.messages.clear();
    CMolecule m;
    const std::string atomsBytes = CBytes().I32(13).Text("S").I32(49).I16(65535).I16(65535).bytes;
    CByteReader atoms(atomsBytes);
    EXPECT_FALSE(ReadStructureRecord(atoms, m));
    EXPECT_EQ(m.empty, 1);
    CSupData sup;
    const std::string itemsBytes = CBytes().I32(22).Text("Z").I32(49).I8(1).Str("a").Str("int64").I16(1000).I16(1000).bytes;
    CByteReader items(itemsBytes);
    EXPECT_FALSE(ReadSupRecord(items, sup));
    const std::string typeBytes = CBytes().I32(30).Text("Z").I32(49).I8(1).Str("a").Str("int65").I16(1).I16(1).I64(0).bytes;
    CByteReader type(typeBytes);
    EXPECT_FALSE(ReadSupRecord(type, sup));
    CIrSpectrum ir;
    const std::string widthBytes = CBytes().I32(38).Text("I").I32(49).I16(0).I16(0).I32(0).I32(0).I32(0).I8(3).Text(std::string(12, '\0')).bytes;
    CByteReader width(widthBytes);
    EXPECT_FALSE(ReadInfraredRecord(width, ir));
    CBibName name;
    const std::string letterBytes = CBytes().I32(36).Text("n").I32(49).Text(std::string(27, '\0')).bytes;
    CByteReader letter(letterBytes);
    EXPECT_FALSE(ReadNameRecord(letter, name));
    ASSERT_EQ(reporter.messages.size(), 5u);
    EXPECT_EQ(reporter.messages[0], "Structure Record length 13 is too short for its contents");
    EXPECT_EQ(reporter.messages[1], "Sup Record length 22 is too short for its contents");
    EXPECT_EQ(reporter.messages[2], "Sup Record illegal data type int65");
    EXPECT_EQ(reporter.messages[3], "IR illegal nbyte value 3");
    EXPECT_EQ(reporter.messages[4], "Name Record Typ is n not N");
}

TEST(BibRecords, BlockEncodingAndDecodingMirrorEachOther)
{
    CBibRecord record = test::FullRecord(5);
    std::string buffer = "HEADER";
    ASSERT_TRUE(EncodeBlock(buffer, record, 6));
    const std::string block = buffer.substr(6);
    const BibIndexRecord x = DecodeIndexRecord(reinterpret_cast<const unsigned char*>(block.data()));
    EXPECT_EQ(x.length, 49);
    EXPECT_EQ(x.type, 'X');
    EXPECT_EQ(x.lengths[0], NameRecordLength(record.name));
    EXPECT_EQ(x.lengths[1], StructureRecordLength(record.molecule));
    EXPECT_EQ(x.lengths[2], MassRecordLength(record.spectrum));
    EXPECT_EQ(x.lengths[3], InfraredRecordLength(record.ir));
    EXPECT_EQ(x.lengths[4], SupRecordLength(record.sup));
    EXPECT_EQ(x.id, 5);
    EXPECT_EQ(x.blockLength, 0);
    EXPECT_EQ(x.previous, 0);
    EXPECT_EQ(x.next, 0);
    // Each record's offset word counts from the X record.
    int64_t offset = 49;
    for (int part = 0; part < kBlockParts; ++part) {
        const auto* p = reinterpret_cast<const unsigned char*>(block.data()) + offset;
        EXPECT_EQ(LoadI32(p), x.lengths[part]);
        EXPECT_EQ(static_cast<char>(p[4]), PartInfo(part).letter);
        EXPECT_EQ(LoadI32(p + 5), offset);
        offset += x.lengths[part];
    }
    EXPECT_EQ(offset, static_cast<int64_t>(block.size()));

    CBibRecord back;
    const auto* body = reinterpret_cast<const unsigned char*>(block.data()) + 49;
    ASSERT_TRUE(DecodeBlockBody(body, block.size() - 49, x, back));
    std::string again;
    ASSERT_TRUE(EncodeBlock(again, back, 0));
    EXPECT_EQ(again, block);

    // An absent part is not written and its X length is 0.
    record.molecule.Clear();
    record.sup.items.clear();  // no items: no Z record even when marked present
    std::string partial;
    ASSERT_TRUE(EncodeBlock(partial, record, 0));
    const BibIndexRecord px = DecodeIndexRecord(reinterpret_cast<const unsigned char*>(partial.data()));
    EXPECT_EQ(px.lengths[1], 0);
    EXPECT_EQ(px.lengths[4], 0);
    EXPECT_EQ(static_cast<int64_t>(partial.size()), 49 + px.lengths[0] + px.lengths[2] + px.lengths[3]);

    // A record whose own length disagrees with X is reported and skipped; the others are read.
    test::CRecordingReporter reporter;
    std::string damaged = block;
    StoreI32(reinterpret_cast<unsigned char*>(damaged.data()) + 49 + x.lengths[0] + x.lengths[1], 12);
    CBibRecord partRead = test::FullRecord(9);
    EXPECT_FALSE(DecodeBlockBody(reinterpret_cast<const unsigned char*>(damaged.data()) + 49, damaged.size() - 49, x, partRead));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0], Format("MS Record length is 12 not %d", x.lengths[2]));
    EXPECT_EQ(partRead.name.empty, 0);
    EXPECT_EQ(partRead.name.name, "ethanol 5");
    EXPECT_EQ(partRead.molecule.empty, 0);
    EXPECT_EQ(partRead.spectrum.empty, 1);
    EXPECT_EQ(partRead.ir.empty, 0);
    EXPECT_EQ(partRead.ir.text2, "film");
    EXPECT_EQ(partRead.sup.empty, 0);
    EXPECT_EQ(partRead.id, 5);

    // A length in X that runs past the block: the records from there on are unknown.
    reporter.messages.clear();
    BibIndexRecord longer = x;
    longer.lengths[3] = x.lengths[3] + x.lengths[4] + 1;
    longer.lengths[4] = 0;
    EXPECT_FALSE(DecodeBlockBody(reinterpret_cast<const unsigned char*>(block.data()) + 49, block.size() - 49, longer, partRead));
    EXPECT_EQ(reporter.messages.at(0), Format("IR Record length %d in Index Record is wrong", longer.lengths[3]));
    EXPECT_EQ(partRead.spectrum.empty, 0);
    EXPECT_EQ(partRead.ir.empty, 1);
    EXPECT_EQ(partRead.sup.empty, 1);
}

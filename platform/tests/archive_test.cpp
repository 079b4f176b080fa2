#include "platform/archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/codepage.h"

namespace kelvara::platform {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(char(v));
  return bytes;
}

TEST(Archive, NumbersRoundTripLittleEndian) {
  const std::int32_t integers[] = {1, -2, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()};
  const double doubles[] = {1.0, -37.618333333333332, std::numeric_limits<double>::denorm_min()};
  ArchiveWriter writer;
  for (std::int32_t number : integers) writer.WriteInt32(number);
  for (double number : doubles) writer.WriteDouble(number);
  writer.WriteDouble(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(writer.Bytes().substr(0, 8), Bytes({1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
  // 1.0 is 0x3FF0000000000000: the exponent byte comes last.
  EXPECT_EQ(writer.Bytes().substr(16, 8), Bytes({0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

  ArchiveReader reader(writer.Bytes());
  for (std::int32_t number : integers) EXPECT_EQ(reader.ReadInt32(), number);
  for (double number : doubles) EXPECT_EQ(reader.ReadDouble(), number);
  EXPECT_TRUE(std::isnan(reader.ReadDouble()));
  EXPECT_TRUE(reader.AtEnd());
}

TEST(Archive, WideStringsCarryTheMarkerAndUtf16) {
  ArchiveWriter writer;
  writer.WriteString("Ёж");
  EXPECT_EQ(writer.Bytes(), Bytes({0xFF, 0xFE, 0xFF, 2, 0x01, 0x04, 0x36, 0x04}));
  writer.WriteString("Иванов \"Иван\" 100%");
  ArchiveReader reader(writer.Bytes());
  EXPECT_EQ(reader.ReadString(), "Ёж");
  EXPECT_EQ(reader.ReadString(), "Иванов \"Иван\" 100%");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(Archive, NarrowStringsAreWindows1251) {
  ArchiveWriter writer;
  writer.WriteNarrowString(Utf8ToCp1251("Москва"));
  EXPECT_EQ(writer.Bytes()[0], char(6));
  ArchiveReader reader(writer.Bytes());
  EXPECT_EQ(reader.ReadString(), "Москва");
}

// Lengths at each boundary of the prefix forms, in both string kinds.
TEST(Archive, EveryLengthPrefixFormRoundTrips) {
  struct Case {
    std::size_t length;
    std::size_t prefixBytes;
  };
  for (const Case& c : {Case{0, 1}, Case{254, 1}, Case{255, 3}, Case{0xFFFD, 3}, Case{0xFFFE, 7},
                        Case{0x10000, 7}, Case{200000, 7}}) {
    const std::string narrow(c.length, 'a');
    const std::string wide(c.length, 'z');
    ArchiveWriter writer;
    writer.WriteNarrowString(narrow);
    ASSERT_EQ(writer.Bytes().size(), c.prefixBytes + c.length) << c.length;
    writer.WriteString(wide);
    ASSERT_EQ(writer.Bytes().size(), 2 * c.prefixBytes + 3 + 3 * c.length) << c.length;
    ArchiveReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadString(), narrow) << c.length;
    EXPECT_EQ(reader.ReadString(), wide) << c.length;
    EXPECT_TRUE(reader.AtEnd());
  }
}

TEST(Archive, EightByteLengthFormIsRead) {
  const std::string stream =
      Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 3, 0, 0, 0, 0, 0, 0, 0}) + "abc";
  ArchiveReader reader(stream);
  EXPECT_EQ(reader.ReadString(), "abc");
}

TEST(Archive, EveryTruncationOfAStreamIsRefused) {
  ArchiveWriter writer;
  writer.WriteInt32(42);
  writer.WriteDouble(2.5);
  writer.WriteString(std::string(300, 'x'));
  writer.WriteNarrowString("abc");
  const std::string& full = writer.Bytes();
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    ArchiveReader reader(std::string_view(full).substr(0, cut));
    EXPECT_THROW(
        {
          reader.ReadInt32();
          reader.ReadDouble();
          reader.ReadString();
          reader.ReadString();
        },
        ArchiveError)
        << "cut at " << cut;
  }
}

TEST(Archive, HostileLengthsAreRefusedWithoutAllocating) {
  const std::string hostile[] = {
      Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),                    // 2 GB narrow
      Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF}),  // 4 G wide characters
      Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
             0xFF}),  // 2^64 - 1 bytes
      Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
             0xFF, 0x7F}),                             // wide length whose byte count overflows
      Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0}),  // a second wide marker
      Bytes({10, 'a', 'b'}),                           // claims ten, holds two
  };
  for (const std::string& stream : hostile) {
    ArchiveReader reader(stream);
    EXPECT_THROW(reader.ReadString(), ArchiveError);
  }
}

TEST(Archive, ErrorSaysWhereTheStreamEnded) {
  ArchiveReader reader(Bytes({1, 2}));
  try {
    reader.ReadInt32();
    FAIL() << "no error";
  } catch (const ArchiveError& error) {
    EXPECT_NE(std::string(error.what()).find("offset 0"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace kelvara::platform

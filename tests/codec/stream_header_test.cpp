#include "codec_test_util.h"

namespace lorix::testing {
namespace {

TEST(StreamHeader, FieldsAndTextPadding) {
  const StreamHeader h = BuildStreamHeader("1.5", 3, 6, 22050, "4BitLog ", 1234);
  const std::string expected =
      "LORIX   1.5     \3\0\0\0\6\0\0\0\x22\x56\0\0"
      "4BitLog \xD2\4\0\0,\0\0\0"s;
  EXPECT_EQ(std::string(h.bytes.begin(), h.bytes.end()), expected);
  EXPECT_EQ(std::tuple(h.PayloadSize(), h.SampleCount(), h.SampleRate(), h.InfoLength(),
                       h.HeaderLength()),
            std::tuple(3, 6, 22050, 1234, 44));
  EXPECT_EQ(h.Magic() + h.Version() + h.CodecName(), "LORIX   1.5     4BitLog ");
  const StreamHeader cut = BuildStreamHeader("1.5.0.1-beta", 0, 0, 1, "4BitLogarithmic", 0);
  EXPECT_EQ(cut.MagicAndVersion() + cut.CodecName(), "LORIX   1.5.0.1-4BitLoga");
  const StreamHeader padded = BuildStreamHeader("", 0, 0, 1, "4Bit", 0);
  EXPECT_EQ(padded.MagicAndVersion() + padded.CodecName(), "LORIX           4Bit    ");
}

TEST(StreamHeader, MagicIgnoresZeroBytesButNotCase) {
  const std::pair<std::string, bool> cases[] = {
      {"LORIX   1.5     ", true},          {"LOR\0IX   1.5    "s, true},
      {"\0\0\0LORIX   \0\0\0\0\0"s, true}, {"LORIX\0   \0\0\0\0\0\0\0"s, true},
      {"lorix   1.5     ", false},         {"LORIX  1.5      ", false},
      {" LORIX  1.5     ", false},         {std::string(16, '\0'), false}};
  for (const auto& [text, accepted] : cases) {
    StreamHeader h = BuildStreamHeader("1.5", 3, 6, 11025, kCodecName, 0);
    std::copy(text.begin(), text.end(), h.bytes.begin());
    EXPECT_EQ(HasStreamMagic(h), accepted) << text;
  }
}

TEST(StreamHeader, LocateStream) {
  const StreamLayout layout =
      LocateStream(BuildStreamHeader("1.5", 100, 0, 11025, kCodecName, 50), 1000);
  EXPECT_EQ(std::tuple(layout.header_start, layout.payload_start, layout.info_start),
            std::tuple(956, 856, 806));
  EXPECT_EQ(LocateStream(BuildStreamHeader("1.5", 3, 6, 11025, kCodecName, 200), 47).info_start,
            -200);
}

TEST(StreamHeader, CheckRejectsImpossibleValues) {
  // payload size, sample count, information length, stream size, accepted
  const std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int64_t, bool> cases[] = {
      {0, 0, 0, 44, true},    {56, 7, 0, 100, true},  {3, 6, 999999, 47, true},
      {-1, 6, 0, 100, false}, {57, 6, 0, 100, false}, {0, -1, 0, 100, false},
      {0, 6, -1, 100, false}, {0, 0, 0, 43, false},   {INT32_MIN, 0, 0, 100, false}};
  for (const auto& [payload, samples, info, size, accepted] : cases) {
    const StreamHeader h = BuildStreamHeader("1.5", payload, samples, 11025, kCodecName, info);
    if (accepted) {
      EXPECT_NO_THROW(CheckStreamHeader(h, size));
    } else {
      EXPECT_THROW(CheckStreamHeader(h, size), CodecError)
          << payload << " " << samples << " " << info;
    }
  }
  EXPECT_THROW(ReadCheckedStreamHeader(Bytes(43, 0)), CodecError);
}

TEST(StreamHeader, TrailerNeedsHeaderLength44) {
  Bytes stream = Stream({0x80, 0xB2, 0x91}, 6, 8000, 17);
  stream.insert(stream.begin(), 17, 'i');
  const StreamTrailer trailer = ReadStreamTrailer(stream);
  EXPECT_EQ(std::tuple(trailer.payload_size, trailer.sample_rate, trailer.info_length),
            std::tuple(3, 8000, 17));
  for (const std::int32_t length : {45, 43, 0, -44}) {
    PutInt32(&stream[stream.size() - 4], length);
    EXPECT_THROW(ReadStreamTrailer(stream), CodecError) << length;
  }
}

}  // namespace
}  // namespace lorix::testing

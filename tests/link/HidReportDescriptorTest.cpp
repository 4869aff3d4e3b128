#include "link/HidReportDescriptor.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <sstream>

using namespace quorvex::link;

namespace {

std::vector<std::uint8_t> FromHex(const std::string& hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

Json::Value LoadCases() {
  const std::string text =
      quorvex::test::ReadTextFile(quorvex::test::SharedDir() + "/hid-descriptors/cases.json");
  Json::Value root;
  std::istringstream in(text);
  std::string errors;
  Json::CharReaderBuilder builder;
  EXPECT_TRUE(Json::parseFromStream(builder, in, &root, &errors)) << errors;
  return root;
}

} // namespace

// Usages and report lengths must match the recorded figures exactly; the capability
// counts are compared as well and the number of matching collections is printed.
TEST(HidReportDescriptor, MatchesRecordedDescriptors) {
  const Json::Value cases = LoadCases();
  ASSERT_EQ(cases.size(), 9u);
  int collections = 0;
  int capsMatching = 0;
  for (const Json::Value& c : cases) {
    SCOPED_TRACE(c["name"].asString());
    const auto bytes = FromHex(c["descriptor"].asString());
    HidReportDescriptor parsed;
    std::string error;
    ASSERT_TRUE(ParseReportDescriptor(bytes.data(), bytes.size(), parsed, &error)) << error;
    const Json::Value& expected = c["collections"];
    ASSERT_EQ(parsed.collections.size(), expected.size());
    for (Json::ArrayIndex i = 0; i < expected.size(); ++i) {
      const auto& e = expected[i];
      const auto& got = parsed.collections[i];
      SCOPED_TRACE("collection " + std::to_string(i));
      EXPECT_EQ(got.usagePage, e["usage_page"].asUInt());
      EXPECT_EQ(got.usage, e["usage"].asUInt());
      EXPECT_EQ(got.InputReportLength(), e["input_report_length"].asUInt());
      EXPECT_EQ(got.OutputReportLength(), e["output_report_length"].asUInt());
      EXPECT_EQ(got.FeatureReportLength(), e["feature_report_length"].asUInt());
      const std::size_t caps[6] = {
          got.ButtonCapCount(HidReportType::Input),   got.ValueCapCount(HidReportType::Input),
          got.ButtonCapCount(HidReportType::Output),  got.ValueCapCount(HidReportType::Output),
          got.ButtonCapCount(HidReportType::Feature), got.ValueCapCount(HidReportType::Feature)};
      const char* names[6] = {"input_button_caps", "input_value_caps",    "output_button_caps",
                              "output_value_caps", "feature_button_caps", "feature_value_caps"};
      bool all = true;
      for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(caps[k], e[names[k]].asUInt()) << names[k];
        all = all && caps[k] == e[names[k]].asUInt();
      }
      ++collections;
      capsMatching += all ? 1 : 0;
    }
  }
  std::printf("capability counts match in %d of %d collections\n", capsMatching, collections);
}

namespace {

bool Parses(const std::vector<std::uint8_t>& bytes, std::string* error = nullptr) {
  HidReportDescriptor parsed;
  return ParseReportDescriptor(bytes.data(), bytes.size(), parsed, error);
}

// An application collection around `body`.
std::vector<std::uint8_t> InCollection(std::vector<std::uint8_t> body) {
  std::vector<std::uint8_t> d = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01};
  for (const std::uint8_t b : body) {
    d.push_back(b);
  }
  d.push_back(0xC0);
  return d;
}

} // namespace

// Malformed descriptors of the kinds that broke other HID parsers are refused whole.
TEST(HidReportDescriptor, RefusesMalformedDescriptors) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<std::uint8_t> deep;
  for (int i = 0; i < 40; ++i) {
    deep.insert(deep.end(), {0xA1, 0x00});
  }
  for (int i = 0; i < 40; ++i) {
    deep.push_back(0xC0);
  }
  const Case cases[] = {
      {"zero-bit field", InCollection({0x75, 0x00, 0x95, 0x08, 0x81, 0x02})},
      {"report size above 256", InCollection({0x76, 0x01, 0x01, 0x95, 0x01, 0x81, 0x02})},
      {"report ID 0", InCollection({0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02})},
      {"report ID 256", InCollection({0x86, 0x00, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02})},
      {"data before the first report ID",
       InCollection({0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x01, 0x81, 0x02})},
      {"report ID in two collections",
       {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x01,
        0x81, 0x02, 0xC0, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x81, 0x02, 0xC0}},
      {"report longer than 4096 bytes", InCollection({0x75, 0x08, 0x96, 0x01, 0x10, 0x81, 0x02})},
      {"end collection without collection", {0xC0}},
      {"collection not closed", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01}},
      {"pop without push", InCollection({0xB4})},
      {"truncated item", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x26, 0xFF}},
      {"long item past the end", {0xFE, 0x10, 0x00, 0x01}},
      {"usage maximum without minimum", InCollection({0x29, 0x05})},
      {"inverted usage range", InCollection({0x19, 0x09, 0x29, 0x01})},
      {"collections nested too deep", deep},
      {"no collection", {0x05, 0x01}},
      {"empty", {}},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(Parses(c.bytes, &error)) << c.name;
  }
  // The largest legal sizes still parse.
  EXPECT_TRUE(Parses(InCollection({0x76, 0x00, 0x01, 0x95, 0x01, 0x81, 0x03})));
  EXPECT_TRUE(Parses(InCollection({0x85, 0xFF, 0x75, 0x08, 0x96, 0xFF, 0x0F, 0x81, 0x02})));
}

class HidExtraction : public ::testing::Test {
protected:
  void SetUp() override {
    // Report 1: 8 buttons, a 2-slot keyboard array (values 1..26 select usages 4..0x1D), a
    // signed X, and a
    // 40-bit value nobody can read as 32 bits. Report 2: one unsigned 16-bit value.
    const std::vector<std::uint8_t> d = {
        0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x09, 0x19, 0x01, 0x29,
        0x08, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x05, 0x07,
        0x19, 0x04, 0x29, 0x1D, 0x15, 0x01, 0x25, 0x1A, 0x75, 0x08, 0x95, 0x02, 0x81,
        0x00, 0x05, 0x01, 0x09, 0x30, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x01,
        0x81, 0x06, 0x09, 0x31, 0x75, 0x28, 0x81, 0x02, 0x85, 0x02, 0x09, 0x32, 0x15,
        0x00, 0x27, 0xFF, 0xFF, 0x00, 0x00, 0x75, 0x10, 0x81, 0x02, 0xC0};
    ASSERT_TRUE(ParseReportDescriptor(d.data(), d.size(), parsed_));
    ASSERT_EQ(parsed_.collections.size(), 1u);
  }
  const HidTopLevelCollection& C() const { return parsed_.collections[0]; }
  HidReportDescriptor parsed_;
};

TEST_F(HidExtraction, ButtonsArraysAndValues) {
  EXPECT_EQ(C().InputReportLength(), 1 + 1 + 2 + 1 + 5);
  // buttons 1 and 8, keys 0x00 (null: below the logical minimum) and 0x02 (usage 5), X = -2
  const std::uint8_t report[] = {1, 0x81, 0x00, 0x02, 0xFE, 0, 0, 0, 0, 0};
  std::vector<std::uint16_t> usages;
  ASSERT_EQ(GetButtonUsages(C(), HidReportType::Input, 0x09, report, sizeof report, usages, 16),
            HidStatus::Success);
  EXPECT_EQ(usages, (std::vector<std::uint16_t>{1, 8}));
  usages.clear();
  ASSERT_EQ(GetButtonUsages(C(), HidReportType::Input, 0x07, report, sizeof report, usages, 16),
            HidStatus::Success);
  EXPECT_EQ(usages, (std::vector<std::uint16_t>{5}));
  usages.clear();
  EXPECT_EQ(GetButtonUsages(C(), HidReportType::Input, 0x09, report, sizeof report, usages, 1),
            HidStatus::BufferTooSmall);

  std::uint32_t raw = 0;
  ASSERT_EQ(GetUsageValue(C(), HidReportType::Input, 0x01, 0x30, report, sizeof report, raw),
            HidStatus::Success);
  EXPECT_EQ(raw, 0xFEu);
  std::int32_t scaled = 0;
  ASSERT_EQ(
      GetScaledUsageValue(C(), HidReportType::Input, 0x01, 0x30, report, sizeof report, scaled),
      HidStatus::Success);
  EXPECT_EQ(scaled, -2);
  EXPECT_EQ(GetUsageValue(C(), HidReportType::Input, 0x01, 0x31, report, sizeof report, raw),
            HidStatus::ValueOutOfRange);

  const std::uint8_t second[] = {2, 0x01, 0x04};
  ASSERT_EQ(GetUsageValue(C(), HidReportType::Input, 0x01, 0x32, second, sizeof second, raw),
            HidStatus::Success);
  EXPECT_EQ(raw, 0x0401u);
  EXPECT_EQ(GetUsageValue(C(), HidReportType::Input, 0x01, 0x30, second, sizeof second, raw),
            HidStatus::IncompatibleId);
}

TEST_F(HidExtraction, ShortReportsAreNeverReadPastTheirEnd) {
  const std::uint8_t whole[] = {1, 0xFF, 0x01, 0x01, 0x05};
  for (std::size_t length = 0; length < sizeof whole; ++length) {
    // A copy of exactly `length` bytes, so a read past it is caught by the sanitizers.
    std::vector<std::uint8_t> report(whole, whole + length);
    std::vector<std::uint16_t> usages;
    std::uint32_t raw = 0;
    const HidStatus value =
        GetUsageValue(C(), HidReportType::Input, 0x01, 0x30, report.data(), report.size(), raw);
    EXPECT_EQ(value, length >= 5 ? HidStatus::Success : HidStatus::ReportTooShort) << length;
    GetButtonUsages(C(), HidReportType::Input, 0x07, report.data(), report.size(), usages, 16);
  }
}

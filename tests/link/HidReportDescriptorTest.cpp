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

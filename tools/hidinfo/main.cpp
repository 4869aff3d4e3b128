// quorvex-hidinfo: prints what the HID layer makes of a report descriptor, one JSON
// object per top-level collection in descriptor order.
//
//   quorvex-hidinfo --descriptor-hex 05010906a101...c0
//   quorvex-hidinfo /dev/hidraw3

#include "link/HidReportDescriptor.h"
#include "platform/hid/HidBackend.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace quorvex;
using namespace quorvex::link;

namespace {

bool FromHex(const char* text, std::vector<std::uint8_t>& out) {
  std::string digits;
  for (const char* p = text; *p != '\0'; ++p) {
    if (std::isxdigit(static_cast<unsigned char>(*p))) {
      digits += *p;
    } else if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ':' && *p != ',') {
      return false;
    }
  }
  if (digits.size() % 2 != 0) {
    return false;
  }
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
  }
  return true;
}

int Usage() {
  std::fprintf(stderr, "usage: quorvex-hidinfo --descriptor-hex HEX | quorvex-hidinfo NODE\n");
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::uint8_t> descriptor;
  if (argc == 3 && std::strcmp(argv[1], "--descriptor-hex") == 0) {
    if (!FromHex(argv[2], descriptor)) {
      std::fprintf(stderr, "quorvex-hidinfo: not a hexadecimal byte string\n");
      return 2;
    }
  } else if (argc == 2 && argv[1][0] != '-') {
    platform::hid::HidInterfaceInfo info;
    if (!platform::hid::CurrentHidBackend().Describe(argv[1], info)) {
      std::fprintf(stderr, "quorvex-hidinfo: %s is not a present hidraw node\n", argv[1]);
      return 1;
    }
    descriptor = info.reportDescriptor;
  } else {
    return Usage();
  }

  HidReportDescriptor parsed;
  std::string error;
  if (!ParseReportDescriptor(descriptor.data(), descriptor.size(), parsed, &error)) {
    std::fprintf(stderr, "quorvex-hidinfo: descriptor refused: %s\n", error.c_str());
    return 1;
  }
  const std::size_t count = parsed.collections.size();
  std::printf("[\n");
  for (std::size_t i = 0; i < count; ++i) {
    const HidTopLevelCollection& c = parsed.collections[i];
    std::printf("  {\"collection\": %zu, \"usage_page\": %u, \"usage\": %u, "
                "\"input_report_length\": %u, \"output_report_length\": %u, "
                "\"feature_report_length\": %u, \"input_button_caps\": %zu, "
                "\"input_value_caps\": %zu, \"output_button_caps\": %zu, "
                "\"output_value_caps\": %zu, \"feature_button_caps\": %zu, "
                "\"feature_value_caps\": %zu}%s\n",
                count > 1 ? i + 1 : 0, c.usagePage, c.usage, c.InputReportLength(),
                c.OutputReportLength(), c.FeatureReportLength(),
                c.ButtonCapCount(HidReportType::Input), c.ValueCapCount(HidReportType::Input),
                c.ButtonCapCount(HidReportType::Output), c.ValueCapCount(HidReportType::Output),
                c.ButtonCapCount(HidReportType::Feature), c.ValueCapCount(HidReportType::Feature),
                i + 1 < count ? "," : "");
  }
  std::printf("]\n");
  return 0;
}

#pragma once

// The mouse's profile document: the base sections plus the resolution stages
// ("DPIStages"), the pointer options ("SystemStages", mouse form), the report rate
// ("ReportStages") and the surface calibration list ("CorrectInfo", read only).
//
// The system settings are three words, low half first:
//   word 0: "DoubleClickTime" | "MouseSpeed"; word 1: "PointerPrecision" | "ScorllPage";
//   word 2: "WheelScorlllinse" | "ReportStages"."StageActive" (report rate index).

#include "documents/CBasicProfiledata.h"

namespace quorvex::documents {

class CMouseProfiledata : public CBasicProfiledata {
public:
  // Reads "DPIStages": the active stage and the stages of "StageDPIs". Stage i
  // replaces cached stage i or is appended; cached stages beyond the stored ones stay.
  // Nothing changes when the section is missing. Returns the cached list.
  std::vector<DpiStage> ReadDpiStages();
  // The list replaces the cache; "StageDPIs"[i] gets the seven members of stage i.
  // "DPIStages"."StageActive" is not touched.
  void WriteDpiStages(const std::vector<DpiStage>& stages);
  // The cached active stage ("DPIStages"."StageActive").
  int GetActiveStage() const { return activeStage_; }
  void WriteActiveStage(int stage);

  // Three zero words when "SystemStages" is missing; the report rate index is 0 when
  // "ReportStages" is missing.
  SystemWords ReadMouseSystem();
  void WriteMouseSystem(const SystemWords& words);
  void WriteMouseSystem(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2) {
    WriteMouseSystem(SystemWords{w0, w1, w2});
  }

  // One entry per element of "CorrectInfo"; empty when missing.
  std::vector<CorrectionEntry> ReadCorrections();

private:
  std::vector<DpiStage> stages_;
  int activeStage_ = 0;
  SystemWords system_{};
  std::vector<CorrectionEntry> corrections_;
};

} // namespace quorvex::documents

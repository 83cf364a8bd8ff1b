// The debug report against any answers the player and the chat client can give: always 25
// lines, the same two headings in bold, and every text shown as it was read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/outside.h"
#include "app/state.h"
#include "fuzz_support.h"
#include "ui/debug_report.h"

namespace {

// Every answer comes from the fuzz input, so two calls may disagree, as they may for real.
class FuzzedOutside final : public Outside {
 public:
  explicit FuzzedOutside(FuzzedDataProvider& input) : mInput(input) {}

  WindowHandle FindSkypeWindow() override { return mInput.ConsumeIntegral<WindowHandle>(); }
  bool GetSkypeMood(std::wstring& text) override {
    text = Text();
    return mInput.ConsumeBool();
  }
  bool SetSkypeMood(const std::wstring&) override { return mInput.ConsumeBool(); }
  bool IsSkypeApiDisabledAllUsers() override { return mInput.ConsumeBool(); }
  bool IsSkypeApiDisabledCurrentUser() override { return mInput.ConsumeBool(); }
  WindowHandle FindWinampWindow() override { return mInput.ConsumeIntegral<WindowHandle>(); }
  std::wstring GetWindowCaption(WindowHandle) override { return shownCaption = Text(); }
  bool IsWinampStopped() override { return mInput.ConsumeBool(); }
  std::wstring GetWinampCurrentTrack() override { return shownTrack = Text(); }
  bool IsWinampPaused() override { return mInput.ConsumeBool(); }

  std::wstring Text() {
    const std::string bytes = mInput.ConsumeRandomLengthString(64);
    return WideText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }

  std::wstring shownCaption;
  std::wstring shownTrack;

 private:
  FuzzedDataProvider& mInput;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  FuzzedOutside outside(input);
  gEnabled = input.ConsumeBool();
  gInitialMood = outside.Text();

  const std::vector<ReportLine> report = BuildDebugInformation(outside);
  Check(report.size() == 25, "the report has 25 lines");
  for (std::size_t i = 0; i < report.size(); ++i) {
    Check(report[i].bold == (i == 2 || i == 12), "only the two headings are bold");
  }
  Check(report[8].text == gInitialMood, "the saved mood is shown as it is");
  Check(report[18].text == outside.shownCaption, "the caption is shown as it was read");
  Check(report[24].text == outside.shownTrack, "the track is shown as it was read");
  return 0;
}

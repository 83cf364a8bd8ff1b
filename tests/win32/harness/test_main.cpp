// The Wine tests enter by wmain, as every program of ours does.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

using testing::TestEventListener;
using testing::TestInfo;
using testing::TestPartResult;
using testing::TestSuite;
using testing::UnitTest;

// GoogleTest's own printer but for one habit: it also hands every failure to a debugger with
// OutputDebugStringA, and where Wine's 32-bit side runs under user-mode emulation that hand-over
// brings the test process down, so a failure would end in a timeout instead of its message.
class PlainPrinter final : public TestEventListener {
 public:
  explicit PlainPrinter(TestEventListener* printer) : mPrinter(printer) {}

  void OnTestPartResult(const TestPartResult& result) override {
    if (result.type() == TestPartResult::kSuccess) return;
    std::printf("%s:%d: %s\n%s\n", result.file_name() ? result.file_name() : "unknown file",
                result.line_number(), result.skipped() ? "Skipped" : "Failure", result.message());
    std::fflush(stdout);
  }

  void OnTestProgramStart(const UnitTest& test) override { mPrinter->OnTestProgramStart(test); }
  void OnTestIterationStart(const UnitTest& test, int iteration) override {
    mPrinter->OnTestIterationStart(test, iteration);
  }
  void OnEnvironmentsSetUpStart(const UnitTest& test) override {
    mPrinter->OnEnvironmentsSetUpStart(test);
  }
  void OnEnvironmentsSetUpEnd(const UnitTest& test) override {
    mPrinter->OnEnvironmentsSetUpEnd(test);
  }
  void OnTestSuiteStart(const TestSuite& suite) override { mPrinter->OnTestSuiteStart(suite); }
  void OnTestCaseStart(const TestSuite& suite) override { mPrinter->OnTestCaseStart(suite); }
  void OnTestStart(const TestInfo& test) override { mPrinter->OnTestStart(test); }
  void OnTestDisabled(const TestInfo& test) override { mPrinter->OnTestDisabled(test); }
  void OnTestEnd(const TestInfo& test) override { mPrinter->OnTestEnd(test); }
  void OnTestSuiteEnd(const TestSuite& suite) override { mPrinter->OnTestSuiteEnd(suite); }
  void OnTestCaseEnd(const TestSuite& suite) override { mPrinter->OnTestCaseEnd(suite); }
  void OnEnvironmentsTearDownStart(const UnitTest& test) override {
    mPrinter->OnEnvironmentsTearDownStart(test);
  }
  void OnEnvironmentsTearDownEnd(const UnitTest& test) override {
    mPrinter->OnEnvironmentsTearDownEnd(test);
  }
  void OnTestIterationEnd(const UnitTest& test, int iteration) override {
    mPrinter->OnTestIterationEnd(test, iteration);
  }
  void OnTestProgramEnd(const UnitTest& test) override { mPrinter->OnTestProgramEnd(test); }

 private:
  std::unique_ptr<TestEventListener> mPrinter;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  testing::TestEventListeners& listeners = UnitTest::GetInstance()->listeners();
  // The listeners own what they are given.
  listeners.Append(
      std::make_unique<PlainPrinter>(listeners.Release(listeners.default_result_printer()))
          .release());
  return RUN_ALL_TESTS();
}

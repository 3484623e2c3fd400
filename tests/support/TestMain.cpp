#include <QApplication>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#define TESSARINE_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSARINE_SANITIZED 1
#endif
#endif

#ifdef TESSARINE_SANITIZED
#include <sanitizer/common_interface_defs.h>
#include <string>

namespace {

// Under the sanitizers (scripts/test-sanitizers) the reports of each test, and of the processes
// it forks, go to files named after the test in the directory TESSARINE_SANITIZER_REPORTS, so
// that a report from libmdb can be told to come from a test that expects one.
class ReportsNamedByTest : public ::testing::EmptyTestEventListener {
public:
    explicit ReportsNamedByTest(std::string dir) : dir_(std::move(dir)) {}

    void OnTestStart(const ::testing::TestInfo& test) override {
        std::string name = std::string(test.test_suite_name()) + "." + test.name();
        for (char& c : name) {
            if (c == '/')
                c = '_'; // parameterised tests
        }
        path_ = dir_ + "/" + name;
        __sanitizer_set_report_path(path_.c_str());
    }

private:
    std::string dir_;
    std::string path_;
};

void NameReportsByTest() {
    const QByteArray dir = qgetenv("TESSARINE_SANITIZER_REPORTS");
    // The listener list owns what it is given.
    if (!dir.isEmpty())
        ::testing::UnitTest::GetInstance()->listeners().Append(
            new ReportsNamedByTest(dir.toStdString()));
}

} // namespace
#endif

// Widget tests need a QApplication; the offscreen platform lets them run without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
#ifdef TESSARINE_SANITIZED
    NameReportsByTest();
#endif
    return RUN_ALL_TESTS();
}

// The test runners' main: GoogleTest's own, and with --counts=FILE it also
// writes "PASSED FAILED SKIPPED" to FILE, which the Windows test kit's
// run-tests.cmd adds up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    std::string counts;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--counts=", 9) == 0) counts = argv[i] + 9;
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (!counts.empty()) {
        const testing::UnitTest& run = *testing::UnitTest::GetInstance();
        if (FILE* f = std::fopen(counts.c_str(), "w")) {
            std::fprintf(f, "%d %d %d\n", run.successful_test_count(), run.failed_test_count(),
                         run.skipped_test_count());
            std::fclose(f);
        }
    }
    return result;
}

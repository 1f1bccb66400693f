#include <QApplication>
#include <gtest/gtest.h>

// Window and drawing tests need a QApplication; they run headless unless the
// caller picked a platform.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without one Qt makes a runtime folder in the temporary folder and leaves
    // it there (ctest lists the tests without their environment).
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", YONATAMA_TEST_RUNTIME);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

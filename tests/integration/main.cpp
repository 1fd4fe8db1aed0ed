// The integration tests drive the platform adapters, which deliver their
// notifications through Qt's event loop: one QCoreApplication for all tests.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}

// The GUI tests run inside the program's own application object, on Qt's
// offscreen platform unless another one is asked for.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "Application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    ::testing::InitGoogleTest(&argc, argv);
    mivo::Application app(argc, argv);
    return RUN_ALL_TESTS();
}

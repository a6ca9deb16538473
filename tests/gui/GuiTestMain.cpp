#include <gtest/gtest.h>

#include <QApplication>

#include "dialogs/Look.h"
#include "widgets/Pictures.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brisko::Pictures::setImagesDirectory(brisko::DataDirectory() + "/images");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

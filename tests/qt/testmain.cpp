#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Set before QApplication exists: test discovery runs this binary outside CTest.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // Every box goes through the stand-in desktop; a real modal box or popup would wait forever.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, &watchdog, [] {
        for (QWidget* stray :
             {QApplication::activeModalWidget(), QApplication::activePopupWidget()})
            if (stray)
                ADD_FAILURE() << "stray modal window: " << stray->metaObject()->className()
                              << (stray->close() ? "" : ", which did not close");
    });
    watchdog.start(100);
    return RUN_ALL_TESTS();
}

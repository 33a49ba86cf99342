#pragma once

#include "app/form1.h"
#include "tests/app/recorders.h"
#include "tests/app/tempdir.h"

#include <memory>

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace resipa::testing {

/// A Form1 over recorders, with a temporary directory standing for the executable directory.
class FormTest : public ::testing::Test, public TempDir {
public:
    RecordingPlatform desk;
    std::unique_ptr<Form1> form;

    /// What lies in the executable directory besides the profile, the template and the document
    /// (a temporary file left behind, for instance).
    QStringList strayFiles() const {
        QStringList stray = entries();
        stray.removeIf([](const QString& name) {
            return name == u"Resipa.rtf" || name == u"rspdefault.rtf" || name == u"informasi.inf";
        });
        return stray;
    }

    /// Creates the window and shows it, active, as the program does.
    Form1& start() {
        form = std::make_unique<Form1>(desk.platform(), dir.path());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    template <typename Control = QWidget>
    Control* control(const QString& name) const {
        auto* found = form->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    static QString focusName() {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    /// Waits until the focus has come to rest on @p name.
    static bool focusReaches(const QString& name) {
        return QTest::qWaitFor([&] { return focusName() == name; });
    }

    /// Runs every queued step (the queued Tab moves among them).
    static void settle() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
};

} // namespace resipa::testing

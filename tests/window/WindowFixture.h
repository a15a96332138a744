#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "platform/qt/QtFrontEnd.h"

// The real window of a game on the offscreen platform. Every message box is
// read and closed as soon as it opens, unless a test answers them itself.
class WindowTest : public testing::Test {
 protected:
  WindowTest() {
    QObject::connect(&boxWatch_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box != nullptr && answerBoxes) {
        boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString()});
        box->accept();
      }
    });
    boxWatch_.start(5);
    front.Show(form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
  }

  QWidget& Window() { return *front.Window(); }
  QImage Screenshot() { return Window().grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // Lets the event loop run, with real timers, for the given time.
  static void RunFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }

  struct Box {
    std::string caption, prompt;
  };
  std::vector<Box> boxes;
  bool answerBoxes = true;
  platform::qt::QtFrontEnd front{"vantor"};
  Form1 form;

 private:
  QTimer boxWatch_;
};

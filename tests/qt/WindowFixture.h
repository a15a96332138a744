#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QtTest/QTest>
#include <functional>
#include <string>

#include "app/Form1.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/qt/QtFrontEnd.h"

// The real window of a game on the offscreen platform, every message box
// closed as soon as it opens.
class WindowTest : public testing::Test {
 protected:
  WindowTest() {
    front.AnswerMessageBoxes([](const std::string&, const std::string&) {});
    front.Show(form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Window()));
  }

  QWidget& Window() { return *front.Window(); }
  QPushButton& NewGame() { return *Window().findChild<QPushButton*>(); }
  QImage Screenshot() { return Window().grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // The picture as Qt's own decoder reads its file, to hold the screen to.
  static QImage Decoded(const platform::Picture& picture) {
    const auto file = picture.File();
    return QImage::fromData(file.data(), static_cast<int>(file.size())).convertToFormat(QImage::Format_RGB32);
  }
  // Runs code as an event of the window, as a tick or a click would be.
  void Event(const std::function<void()>& handler) { front.Dispatch(handler); }
  void Tick() { Event([this] { form.Timer1.RaiseTimer(); }); }
  void StartGame() { NewGame().click(); }

  platform::qt::QtFrontEnd front{"vantor"};
  Form1 form;
};

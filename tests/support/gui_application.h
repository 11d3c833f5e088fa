// One QGuiApplication for the logic tests that lay out or render pages (fonts and paint
// devices need it); made on first use and kept for the rest of the run.
#pragma once

#include <gtest/gtest.h>

void Ensure_Gui_Application();

// A fixture for tests that need the application object.
class GuiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Ensure_Gui_Application(); }
};

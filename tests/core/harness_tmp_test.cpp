#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif
TEST(Harness, Runs) {
#ifdef _WIN32
  HWND w = CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(w, nullptr);
  DestroyWindow(w);
#endif
  EXPECT_EQ(1, 1);
}

// The tests read pictures and paint into images as the tool does, under a
// QCoreApplication and no display.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// The tests of the real USB path run under umockdev's preload library: the
// program re-executes itself with it before anything opens libusb.
#include <gtest/gtest.h>

#include "support/usb_emulation/usb_testbed.h"

int main(int argc, char** argv) {
  rovanel::support::usb::RunUnderPreload(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

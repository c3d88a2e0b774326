// The adapter listing against a copy of sysfs and /dev/serial/by-id with two
// USB adapters and a built-in port.
#include <gtest/gtest.h>

#include "../support/FakeSystem.h"
#include "comm/PortMap.h"
#include "comm/SerialAdapters.h"

using namespace zmp;
using zmp::testing::FakeSystem;

TEST(SerialAdapters, ListsTheUsbAdaptersWithTheirNamesAndStableLinks) {
  FakeSystem sys;
  const auto adapters = ListSerialAdapters(sys.Root());
  ASSERT_EQ(adapters.size(), 2u) << "the built-in ttyS0 is no adapter";
  const SerialAdapter& acm = adapters[0];
  EXPECT_EQ(acm.device, "/dev/ttyACM4");
  EXPECT_EQ(acm.byId, FakeSystem::kAcmById);
  EXPECT_EQ(acm.driver, "cdc_acm");
  EXPECT_EQ(acm.Name(), "Acme Radio Cable");
  const SerialAdapter& ftdi = adapters[1];
  EXPECT_EQ(ftdi.device, "/dev/ttyUSB0");
  EXPECT_EQ(ftdi.vendorId, "0403");
  EXPECT_EQ(ftdi.productId, "6001");
  EXPECT_EQ(ftdi.serial, "A1B2C3");
  EXPECT_EQ(ftdi.interface, "00");
  EXPECT_EQ(ftdi.driver, "ftdi_sio");
  EXPECT_EQ(ftdi.Name(), "FTDI FT232R USB UART");
  EXPECT_EQ(ftdi.StableName(), FakeSystem::kFtdiById);
  SerialAdapter bare;
  bare.vendorId = "1a86";
  bare.productId = "7523";
  EXPECT_EQ(bare.Name(), "USB 1a86:7523");
  EXPECT_TRUE(ListSerialAdapters(sys.Root() / "no-such-folder").empty());
}

TEST(SerialAdapters, PortsNameTheirAdaptersAndUnpluggedOnesSaySo) {
  FakeSystem sys;
  PortMap map;
  map.SetOverride(2, FakeSystem::kGoneById);  // an adapter that is not plugged in
  auto adapters = ListSerialAdapters(sys.Root());
  auto ports = DescribePorts(map, adapters, sys.Root(), 20);
  ASSERT_EQ(ports.size(), 20u);
  ASSERT_TRUE(ports[0].adapter) << "COM1 is /dev/ttyUSB0 by default";
  EXPECT_EQ(ports[0].adapter->serial, "A1B2C3");
  EXPECT_FALSE(ports[0].mapped);
  EXPECT_TRUE(ports[1].mapped);
  EXPECT_FALSE(ports[1].adapter);
  EXPECT_TRUE(ports[1].unplugged);
  EXPECT_FALSE(ports[4].adapter) << "COM5 is the built-in ttyS0";
  EXPECT_FALSE(ports[4].unplugged);
  auto unmapped = UnmappedAdapters(ports, adapters);
  ASSERT_EQ(unmapped.size(), 1u);
  EXPECT_EQ(unmapped[0].device, "/dev/ttyACM4");

  // Mapped by its stable name, the adapter stands behind COM3 and is no longer unmapped.
  map.SetOverride(3, unmapped[0].StableName());
  ports = DescribePorts(map, adapters, sys.Root(), 20);
  ASSERT_TRUE(ports[2].adapter);
  EXPECT_EQ(ports[2].adapter->device, "/dev/ttyACM4");
  EXPECT_TRUE(UnmappedAdapters(ports, adapters).empty());

  // Pulled out: the listing shrinks and COM3 says its adapter is not plugged in.
  sys.UnplugAcm();
  adapters = ListSerialAdapters(sys.Root());
  EXPECT_EQ(adapters.size(), 1u);
  ports = DescribePorts(map, adapters, sys.Root(), 20);
  EXPECT_FALSE(ports[2].adapter);
  EXPECT_TRUE(ports[2].unplugged);
}

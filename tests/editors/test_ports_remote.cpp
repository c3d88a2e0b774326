// The function port and remote control editors: what needs code. The titles of
// rows that follow the option ports' directions, and the remote output grid's
// columns that show the output record. The value-level cases (rows, chains,
// polarity, remote codes that follow what they switch) are cases/ports_remote.txt.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"
#include "editors/PortModel.h"
#include "editors/RemoteFields.h"

using namespace zmp;
using namespace zmp::testing;

TEST(PortsRemote, OptionPortRowsAreTitledByTheirPortAndTheRemoteOutputsShowTheOutputRecord) {
  UseProgramTexts();
  ImageStore image;
  image.MakeBlank();
  SetModel(image, Vhf146E());
  auto m = image.Main();
  EXPECT_EQ(PortRowCount(image, PortDirection::Input), 3);
  EXPECT_EQ(PortRowCount(image, PortDirection::Output), 5);
  m.SetByte(0x02AA, 0);  // option port 3 an input
  EXPECT_EQ(PortRowTitle(image, PortDirection::Input, 3), "Option Port 3");
  EXPECT_EQ(PortRowTitle(image, PortDirection::Input, 2), "Input 3");
  m.SetByte(0x02AA, 1);  // an output again; ports 1 and 6 inputs, in port order
  m.SetByte(0x02AD, 0);
  m.SetByte(0x02A8, 0);
  EXPECT_EQ(PortRowTitle(image, PortDirection::Input, 3), "Option Port 1");
  EXPECT_EQ(PortRowTitle(image, PortDirection::Input, 4), "Option Port 6");

  const FieldTable& outputs = RemoteModule().tables.at(2);
  const auto column = [&](std::size_t field, int row) {
    return ShowField(FieldRef{&outputs, &outputs.fields[field], row}, image).text;
  };
  m.SetByte(0x05C1, 0x05);
  EXPECT_EQ(column(4, 0), Tx(961_txt)) << "polarity: any byte but 0";
  m.SetByte(0x05D0, '<');
  EXPECT_EQ(column(0, 2), Tx(1293_txt)) << "output 3's function";
}

// The keypad's entry state machine.
#include "tests/panel/PanelFixture.h"

namespace {

using Strings = std::vector<std::string>;

class Entry : public PanelTest {
protected:
  // Presses keys "0" to "9" and ",".
  void Keys(const std::string& keys) {
    for (char key : keys) {
      switch (key) {
        case ',': form.Button13Click(nullptr); break;
        case '0': form.Button14Click(nullptr); break;
        case '1': form.Button4Click(nullptr); break;
        case '2': form.Button5Click(nullptr); break;
        case '3': form.Button6Click(nullptr); break;
        case '4': form.Button7Click(nullptr); break;
        case '5': form.Button8Click(nullptr); break;
        case '6': form.Button9Click(nullptr); break;
        case '7': form.Button10Click(nullptr); break;
        case '8': form.Button11Click(nullptr); break;
        case '9': form.Button12Click(nullptr); break;
      }
    }
  }
};

TEST_F(Entry, KilohertzThenCommaThenTenths) {
  Keys("7050,5");
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_EQ(view.edit2, "5");
  EXPECT_EQ(view.trackBar, 5);
  EXPECT_EQ(EntryCount, 0);
  EXPECT_EQ(Told(), Strings{"tenths 5"});  // no frequency before SET
}

TEST_F(Entry, FiveDigitsThenTheSixthSetsTheTenthsAndTheSeventhStartsAnew) {
  Keys("14200");
  EXPECT_EQ(view.edit1, "14200");
  EXPECT_EQ(EntryCount, 5);
  Keys("3");
  EXPECT_EQ(view.edit1, "14200");
  EXPECT_EQ(view.edit2, "3");
  EXPECT_EQ(view.trackBar, 3);
  EXPECT_EQ(EntryCount, 0);
  Keys("9");
  EXPECT_EQ(view.edit1, "9");
  EXPECT_EQ(EntryCount, 1);
  EXPECT_EQ(Told(), Strings{"tenths 3"});
}

TEST_F(Entry, ZeroCannotBeginAnEntryButIsAppendedAndCanBeTheTenths) {
  Keys("0");
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_EQ(EntryCount, 0);
  Keys("10");
  EXPECT_EQ(view.edit1, "10");
  Keys("5,");
  view.trackBar = 4;
  Keys("0");
  EXPECT_EQ(view.edit1, "105");
  EXPECT_EQ(view.edit2, "0");
  EXPECT_EQ(view.trackBar, 0);
  EXPECT_EQ(Told(), Strings{"tenths 0"});
}

TEST_F(Entry, CommaFirstSetsTheTenthsAndKeepsTheFrequency) {
  Keys(",8");
  EXPECT_EQ(view.edit1, "7050");
  EXPECT_EQ(view.edit2, "8");
  EXPECT_EQ(EntryCount, 0);
  Keys("3");
  EXPECT_EQ(view.edit1, "3");
}

TEST_F(Entry, TheSameTenthsDigitAsTheTrackBarSendsNoTenthsPacket) {
  Keys(",0");
  Keys(",0");
  EXPECT_EQ(view.edit2, "0");
  EXPECT_TRUE(Told().empty());
}

TEST_F(Entry, SetAfterAPartialEntrySendsItAndEndsTheEntry) {
  Keys("14");
  form.Button15Click(nullptr);
  EXPECT_EQ(Tunings(), Strings{"14 kHz SSB"});
  EXPECT_EQ(EntryCount, 0);
  Keys("7");
  EXPECT_EQ(view.edit1, "7");
}

}  // namespace

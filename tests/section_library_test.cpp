// The steel section catalogue: designation grammar and property placement.
#include <climits>
#include <tuple>

#include "TestSupport.h"
#include "sectionlib/SectionLibrary.h"

TEST(SectionCatalogue, ResolvesFamiliesIntoPropertySlotsAndRejectsTheRest)
{
    // (designation, normalised name, the non-zero property slots)
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"HW300X305*15/15", "HW300x305x15x15", "4:300 6:305 10:15 11:15"}, {"I400x200x8x13", "I400x200x8x13", "4:400 6:200 10:8 11:13"},
        {"TN150x300x6.5x9", "TN150x300x6.5x9", "4:150 6:300 10:6.5 11:9"}, {"L100X10", "L100x10", "0:100 1:100 2:10 3:10"},
        {"L100x80x8", "L100x80x8", "0:100 1:80 2:8 3:8"}, {"C200x75x6x9", "C200x75x6x9", "0:200 1:75 2:6 3:9 4:75 5:9"},
        {"U100*50*5*7.5", "U100x50x5x7.5", "0:100 1:50 2:5 3:7.5 4:50 5:7.5"}, {"P114x4", "P114x4", "4:53 5:57 10:4"},
        {"PIPE12.x1", "PIPE12.x1", "4:5 5:6 10:1"}, {"CHS.5/.1", "CHS.5x.1", "4:0.15 5:0.25 10:0.1"},
        {"D0008.50x0.5", "D0008.50x0.5", "4:3.75 5:4.25 10:0.5"}, {"P100x50", "P100x50", "5:50 10:50"}};  // half the diameter: solid
    for (const auto& [input, name, slots] : rows) {
        CSectionManagement lib;
        const CSection* sec = lib.GetSecParaMap(input);
        ASSERT_NE(sec, nullptr) << input;
        std::string text = sec->GetName() + " ";
        for (int k = 0; k < 13; ++k)
            if (sec->GetProperty(k) != 0) text += Num(k) + ":" + Num(sec->GetProperty(k)) + " ";
        EXPECT_EQ(text, name + std::string(" ") + slots + " ");
    }
    for (int k : {-1, 13, INT_MIN, INT_MAX}) EXPECT_EQ(CSection().GetProperty(k), 0.0) << k;
    CSectionManagement lib;
    for (const std::string& s : std::vector<std::string>{
             "", "H", "400x200x8x13", "H400", "H400x200x8", "H400x200x8x13x1", "L100", "L1x2x3x4", "P100x4x2", "C200x75x6", "h400x200x8x13",
             "X100x10", "Hx400x200x8x13", "PIPEx", "H400x200x8x13x", "H400xx200x8x13", "H400x200x8x13 ", " H400x200x8x13", "H 400x200x8x13",
             "H+400x200x8x13", "H-400x200x8x13", "H0x200x8x13", "H400x0.0x8x13", "H400x.x8x13", "H1.2.3x2x3x4", "H1e3x2x3x4",
             "H400x200x8x13mm", "H400,200,8,13", std::string("H400x200x8x13\0", 14), std::string("H400\0x200x8x13", 14),
             "H\xff" "400x200x8x13", "P1.4x4", "P100x50.001", "CHS1x0.51" /* a wall thicker than half the diameter */,
             "P" + std::string(400, '9') + "x1", "P0." + std::string(400, '0') + "1x1", "L" + std::string(1 << 20, '1')})
        EXPECT_EQ(lib.GetSecParaMap(s), nullptr) << s.substr(0, 40);
}

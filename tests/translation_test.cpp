// Whole small models through ReadMidasFile and TranMidastoOrvo, checked field by field in the host.
#include "TestSupport.h"

namespace {

const char* const kFrame = R"(*UNIT
KN, M, KJ, C

*NODE
10, 0, 0, 0
20, 0, 0, 3
30, 4, 0, 3
40, 4, 0, 0

*ELEMENT
5, BEAM, 1, 1, 10, 20, 0
7, BEAM, 1, 1, 20, 30, 0
8, TRUSS, 1, 1, 30, 40, 0
9, PLATE, 1, 1, 10, 20, 30, 40, 0
11, TENSTR, 1, 1, 10, 99, 0

*CONSTRAINT
1, 111000,
4, 111111,
2, 000000,

*FRAME-RLS
   2, NO, 000011, 0, 0, 0, 0, 0, 0
          000001, 0, 0, 0, 0, 0, 0,
   3, NO, 111111, 0, 0, 0, 0, 0, 0
          111111, 0, 0, 0, 0, 0, 0,

*GROUP
A, , 1 2
B, , 2 5

)";

struct Translated {
    ModalData_Orvo model;
    bool ok = false;
    explicit Translated(const std::string& text) { ok = TranslateText(text, model); }
};

} // namespace

TEST(Translation, NodesAreRenumberedScaledAndRestrained)
{
    Translated t(kFrame);
    ASSERT_TRUE(t.ok);
    EXPECT_TRUE(t.model.m_bUpdated);
    ASSERT_EQ(t.model.m_Nodes.GetSize(), 4);
    const struct {
        int id;
        double x, z;
        unsigned char restraint;
    } rows[] = {{1, 0, 0, 0xE0}, {2, 0, 3000, 0}, {3, 4000, 3000, 0}, {4, 4000, 0, 0xFC}};
    for (int i = 0; i < 4; ++i) {
        const Node_Orvo* node = t.model.m_Nodes[i];
        EXPECT_EQ(node->ID, rows[i].id);
        EXPECT_EQ(node->X, rows[i].x);
        EXPECT_EQ(node->Y, 0.0);
        EXPECT_EQ(node->Z, rows[i].z);
        EXPECT_EQ(node->Restraint, rows[i].restraint) << i;
        EXPECT_EQ(node->PointLoads.Count, 0);
    }
}

TEST(Translation, LinesCarryEndsReleasesAndGroups)
{
    Translated t(kFrame);
    ASSERT_EQ(t.model.m_Lines.GetSize(), 4);  // the plate is not a line member
    const struct {
        int id, start, end;
        unsigned char startRelease, endRelease;
        const char* group;
    } rows[] = {
        {1, 1, 2, 0, 0, "A"},
        {2, 2, 3, 0x0C, 0x04, "B"},   // element record 2 is released and listed by A then B
        {3, 3, 4, 0x0C, 0x0C, ""},    // a truss is pinned whatever *FRAME-RLS says
        {4, 1, 99, 0x0C, 0x0C, "B"},  // unknown end node keeps the file's number
    };
    for (int i = 0; i < 4; ++i) {
        const Line_Orvo* line = t.model.m_Lines[i];
        EXPECT_EQ(line->ID, rows[i].id);
        EXPECT_EQ(line->StartNode, rows[i].start);
        EXPECT_EQ(line->EndNode, rows[i].end);
        EXPECT_EQ(line->StartRelease, rows[i].startRelease) << i;
        EXPECT_EQ(line->EndRelease, rows[i].endRelease) << i;
        EXPECT_EQ(line->GroupName, rows[i].group) << i;
        EXPECT_EQ(line->MaterialID, 1);
        EXPECT_EQ(line->Kind, 0);
    }
}

TEST(Translation, DuplicateNodeNumbersResolveToTheFirst)
{
    Translated t("*UNIT\nKN,MM\n\n*NODE\n1,0,0,0\n7,1,0,0\n7,2,0,0\n\n*ELEMENT\n1,BEAM,1,1,7,1,0\n\n");
    ASSERT_EQ(t.model.m_Lines.GetSize(), 1);
    EXPECT_EQ(t.model.m_Lines[0]->StartNode, 2);
    EXPECT_EQ(t.model.m_Lines[0]->EndNode, 1);
}

TEST(Translation, NumbersOutsideTheBlocksArePassedOver)
{
    Translated t("*UNIT\nKN,MM\n\n*NODE\n1,0,0,0\n2,1,0,0\n\n*ELEMENT\n1,BEAM,1,1,1,2,0\n2,BEAM,1,1,2,1,0\n\n"
                 "*CONSTRAINT\n0 -1 9 2, 111111,\n\n"
                 "*GROUP\nG, , 0 -3 2 7 1\n\n"
                 "*FRAME-RLS\n0, NO, 100000, 0\n000001,\n 9, NO, 100000, 0\n000001,\n 1, NO, 100000, 0\n000001,\n\n");
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.model.m_Nodes[0]->Restraint, 0);
    EXPECT_EQ(t.model.m_Nodes[1]->Restraint, 0xFC);
    EXPECT_EQ(t.model.m_Lines[1]->GroupName, "G");  // named before the group step met element 7
    EXPECT_EQ(t.model.m_Lines[0]->GroupName, "");   // element 1 comes after 7: the step had ended
    EXPECT_EQ(t.model.m_Lines[0]->StartRelease, 0); // release 9 ended the step before element 1
}

TEST(Translation, ElementsWithoutNodesStillBecomeLines)
{
    Translated t("*UNIT\nKN,MM\n\n*ELEMENT\n3,BEAM,2,4,5,6,0\n\n");
    ASSERT_TRUE(t.ok);
    ASSERT_EQ(t.model.m_Lines.GetSize(), 1);
    EXPECT_EQ(t.model.m_Lines[0]->StartNode, 5);
    EXPECT_EQ(t.model.m_Lines[0]->EndNode, 6);
    EXPECT_EQ(t.model.m_Lines[0]->SectionID, 4);
}

TEST(Translation, WriteBeforeTranslationHandsOverTwoSets)
{
    TempFile file(kFrame);
    Translation translator;
    ASSERT_TRUE(translator.ReadMidasFile(file.path().c_str()));
    EXPECT_EQ(translator.Write(), 0);
    ModalData_Orvo model;
    ASSERT_TRUE(translator.TranMidastoOrvo(model));
    ASSERT_EQ(model.m_Nodes.GetSize(), 8);
    ASSERT_EQ(model.m_Lines.GetSize(), 8);
    EXPECT_EQ(model.m_Nodes[4]->ID, 5);
    EXPECT_EQ(model.m_Nodes[4]->Restraint, 0);  // the repeats carry no restraints
    EXPECT_EQ(model.m_Lines[4]->StartNode, 1);  // member ends refer to the first copies
}

TEST(Translation, SecondTranslationIntoAFilledHostKeepsEarlierLines)
{
    TempFile file(kFrame);
    ModalData_Orvo model;
    Translation first;
    ASSERT_TRUE(first.ReadMidasFile(file.path().c_str()));
    ASSERT_TRUE(first.TranMidastoOrvo(model));
    Translation second;
    ASSERT_TRUE(second.ReadMidasFile(file.path().c_str()));
    ASSERT_TRUE(second.TranMidastoOrvo(model));
    ASSERT_EQ(model.m_Lines.GetSize(), 8);
    EXPECT_EQ(model.m_Lines[5]->StartRelease, 0x0C);
}

TEST(Units, ScalesByTheFileUnits)
{
    const struct {
        const char* unit;
        double x;
    } rows[] = {{"KN,MM", 1.5}, {"KN,M", 1500}, {"KN,CM", 15}, {"KN,IN", 1.5 * 25.4},
                {"KN,FT", 1.5 * 304.8}, {"N,MM", 1.5}, {"kn,MM", 1.5}};
    for (const auto& row : rows) {
        Translated t(std::string("*UNIT\n") + row.unit + "\n\n*NODE\n1,1.5,0,0\n\n");
        ASSERT_TRUE(t.ok) << row.unit;
        EXPECT_EQ(t.model.m_Nodes[0]->X, row.x) << row.unit;
    }
}

TEST(Units, RefusesGravitationalAndImperialForces)
{
    for (const char* force : {"KGF", "TONF", "LBF", "KIPS"}) {
        MessageCapture messages;
        Translated t(std::string("*UNIT\n") + force + ", M, KJ, C\n\n*NODE\n1,1,0,0\n\n");
        EXPECT_FALSE(t.ok);
        EXPECT_EQ(t.model.m_Nodes.GetSize(), 0);
        EXPECT_FALSE(t.model.m_bUpdated);
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0], std::string(force) + " Can't Convert,Please use KN,mm Unit!");
    }
}

TEST(Units, MissingOrUnknownUnitsFailQuietly)
{
    for (const char* text : {"*NODE\n1,0,0,0\n", "*UNIT\n\n*NODE\n1,0,0,0\n", "*UNIT\nKN,mm\n\n", "*UNIT\nKN,KM\n"}) {
        MessageCapture messages;
        Translated t(text);
        EXPECT_FALSE(t.ok) << text;
        EXPECT_TRUE(messages.texts.empty());
        EXPECT_EQ(t.model.m_Nodes.GetSize(), 0);
    }
}

TEST(Translation, EmptyAndDegenerateFilesDoNotCrash)
{
    Translated empty("");
    EXPECT_FALSE(empty.ok);
    Translated onlyUnit("*UNIT\nKN,MM\n");
    EXPECT_TRUE(onlyUnit.ok);
    EXPECT_TRUE(onlyUnit.model.m_bUpdated);
    std::string longLine = "*UNIT\nKN,MM\n\n*NODE\n" + std::string(10000, '1') + ",2,3,4\n\n";
    Translated big(longLine);
    EXPECT_TRUE(big.ok);
}

TEST(Translator, DestroysCleanlyInEveryState)
{
    { Translation untouched; }
    {
        Translation readOnly;
        TranslatorAccess::ReadText(readOnly, kFrame);
    }
    Translation translator;
    TranslatorAccess::ReadText(translator, kFrame);
    TranslatorAccess::ReadText(translator, "*NODE\n5,0,0,0\n\n");
    ASSERT_EQ(TranslatorAccess::Node(translator)->GetCount(), 1);  // the second read replaced the block
    EXPECT_EQ(TranslatorAccess::Element(translator)->GetCount(), 5);
}
